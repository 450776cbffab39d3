#include "platform/uikit/uikit_classes.h"

namespace platform::uikit {

void registerClasses() {
  UIApplicationClass();
}

void defineFrameworkClasses() {
  UIViewClass();
  UIControlClass();
  CALayerClass();
  UILabelClass();
  UIImageClass();
  UIImageViewClass();
  UIColorClass();
  UIScrollViewClass();
  UITableViewClass();
  UITableViewCellClass();
  UITableViewRowActionClass();
  UIGestureRecognizerClass();
  UILongPressGestureRecognizerClass();
  UIActionSheetClass();
  UIAlertViewClass();
  UIDatePickerClass();
  UISwitchClass();
  UIWindowClass();
  UIViewControllerClass();
  UINavigationControllerClass();
  UINavigationBarClass();
  UINavigationItemClass();
  UIBarButtonItemClass();
  UIDeviceClass();
  UIScreenClass();
}

}  // namespace platform::uikit
