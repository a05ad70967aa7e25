// The office's timer service: every period a worker thread asks the office, through
// com.sun.star.awt.AsyncCallback, to run the timer's procedure on its main thread; a timer whose
// last tick has not finished yet is not asked again, so ticks never pile up or overlap.
#pragma once

#include <memory>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "tarvelo/autoreplace/timer_service.h"

namespace mTarvelo {

// Throws com::sun::star::uno::Exception when the office offers no AsyncCallback service.
// Destroy it (or UninstallAutoReplace) before the office goes away: that ends its thread.
std::shared_ptr<TimerService> MakeOfficeTimerService(
    const ::com::sun::star::uno::Reference<::com::sun::star::uno::XComponentContext>& context);

}  // namespace mTarvelo
