#ifndef VUSK_TQCONFIG_H
#define VUSK_TQCONFIG_H

// The client id: 32 characters, empty until the configuration provides one.
constexpr int client_id_capacity = 33;
extern char global_uuid[client_id_capacity];

#endif
