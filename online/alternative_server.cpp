#include "online/alternative_server.h"

#include "alternative_server_values.h"

namespace vt {

AlternativeServer AlternativeServer::fromBuild() {
  return {alternative_values::kName, alternative_values::kUser, alternative_values::kPassword,
          alternative_values::kServer};
}

} // namespace vt
