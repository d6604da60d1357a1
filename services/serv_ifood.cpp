#include "services/serv_ifood.h"

#include "services/app_food_log.h"
#include "services/food_service_common.h"
#include "services/service_threads.h"

namespace vt {

bool TdmServIFood::servicoExiste(std::string_view AServico) { return services::serviceKeyOpens(AServico); }

void TdmServIFood::logOperation(Operation operation, const std::string* error) {
  dmAppFoodLog_.logAppFood(0, "", services::foodLogDescription(static_cast<int>(operation), error));
}

std::unique_ptr<ServiceThread> TdmServIFood::makeWorker() {
  auto thread = std::make_unique<servifood::ThreadServico>(*this);
  fthreadIFood = thread.get();
  return thread;
}

} // namespace vt
