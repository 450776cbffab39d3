#pragma once
// UIKit as the device builds it, for code that uses much of it: every family's header. Each
// family (one class or a close family per file) declares its classes, its selectors in
// `namespace sel`, and the device calls that stand in for the user's touches.

#include "platform/uikit/alert_presentation.h"
#include "platform/uikit/geometry.h"
#include "platform/uikit/uiactionsheet.h"
#include "platform/uikit/uialertview.h"
#include "platform/uikit/uiapplication.h"
#include "platform/uikit/uibarbuttonitem.h"
#include "platform/uikit/uicolor.h"
#include "platform/uikit/uidatepicker.h"
#include "platform/uikit/uidevice.h"
#include "platform/uikit/uigesturerecognizer.h"
#include "platform/uikit/uiimage.h"
#include "platform/uikit/uilabel.h"
#include "platform/uikit/uinavigationcontroller.h"
#include "platform/uikit/uiswitch.h"
#include "platform/uikit/uitableview.h"
#include "platform/uikit/uitableviewcell.h"
#include "platform/uikit/uitableviewrowaction.h"
#include "platform/uikit/uiview.h"
#include "platform/uikit/uiviewcontroller.h"
#include "platform/uikit/uiwindow.h"

namespace platform::uikit {

// Defines every UIKit class (idempotent), so that code looking classes up by name finds them.
void registerClasses();
// Defines every UIKit class but UIResponder and UIApplication (which does this as it is defined).
void defineFrameworkClasses();

}  // namespace platform::uikit
