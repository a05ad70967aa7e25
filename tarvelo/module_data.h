// The add-in's data files as the logic sees them (AddinData), over the module's readers in the
// data folder; the same for every host.
#pragma once

#include <memory>

#include "tarvelo/addin_services.h"

namespace mTarvelo {

std::shared_ptr<AddinData> MakeModuleData();

}  // namespace mTarvelo
