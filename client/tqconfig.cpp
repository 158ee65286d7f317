#include "tqconfig.h"

char global_uuid[client_id_capacity] = "";
