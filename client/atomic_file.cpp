#include "atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
const char temporary_suffix[] = ".XXXXXX";
}

atomic_file::atomic_file(const std::string &path) : target(path), temporary(path + temporary_suffix)
{
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail("create a temporary file for", errno);
        temporary.clear();
        return;
    }
    stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        fail("write", errno);
        close(descriptor);
        discard();
    }
}

atomic_file::~atomic_file()
{
    if (stream)
        fclose(stream);
    discard();
}

void atomic_file::fail(const char *doing, int error_number)
{
    if (failure.empty())
        failure = std::string("cannot ") + doing + " " + target + ": " + strerror(error_number ? error_number : EIO);
}

void atomic_file::discard()
{
    if (!temporary.empty())
        unlink(temporary.c_str());
    temporary.clear();
}

bool atomic_file::commit()
{
    if (stream == nullptr)
        return false;
    // A failed write may have happened long before; errno then no longer
    // tells why, and the report falls back to a plain input/output error.
    errno = 0;
    bool written = fflush(stream) == 0 && !ferror(stream) && fsync(fileno(stream)) == 0;
    int write_error = errno;
    if (fclose(stream) != 0 && written) {
        written = false;
        write_error = errno;
    }
    stream = nullptr;
    if (!written) {
        fail("write", write_error);
        discard();
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        fail("replace", errno);
        discard();
        return false;
    }
    temporary.clear();
    return true;
}
