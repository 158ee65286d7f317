#ifndef VUSK_TEST_HTTP_SERVER_H
#define VUSK_TEST_HTTP_SERVER_H

// The test web host (tests/server/http_file_server.py) on 127.0.0.1, on a
// port it picked, serving the files of a fresh directory. It logs every
// request, and in hold mode keeps each request waiting until release().

#include "temp_home.h"

#include <string>
#include <sys/types.h>
#include <vector>

class http_test_server {
public:
    // mode: files, notfound, redirect, short, stall, huge, hang or trickle.
    explicit http_test_server(const std::string &mode = "files", bool hold = false);
    ~http_test_server();
    http_test_server(const http_test_server &) = delete;
    http_test_server &operator=(const http_test_server &) = delete;

    int port() const { return port_; }
    // Puts a file under the served directory.
    void serve(const std::string &path, const std::string &content) const;
    // Each request so far: "GET <path> HTTP/1.0".
    std::vector<std::string> requests() const;
    void release() const;

private:
    TempDir directory_;
    pid_t pid_ = -1;
    int port_ = 0;
};

// A port on 127.0.0.1 that refuses connections while the object lives: it
// is bound, so no one else takes it, but nothing listens.
class refused_port {
public:
    refused_port();
    ~refused_port();
    refused_port(const refused_port &) = delete;
    refused_port &operator=(const refused_port &) = delete;

    int port() const { return port_; }

private:
    int socket_ = -1;
    int port_ = 0;
};

#endif
