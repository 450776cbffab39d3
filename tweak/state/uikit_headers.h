#pragma once
// The UIKit and Foundation interfaces the actions menu, the reminder editor and the reminders
// window call, declared once with their true signatures.

#include <functional>

#include "platform/objc/selector.h"
#include "platform/uikit/geometry.h"

namespace tarrow8::ui {
using platform::objc::Selector;

// Blocks UIKit takes.
using CompletionBlock = std::function<void()>;
using RowActionHandler = std::function<void(id action, id indexPath)>;

// UIView and CALayer.
inline const Selector<id(CGRect)> initWithFrame{"initWithFrame:"};
inline const Selector<CGRect()> frame{"frame"};
inline const Selector<CGRect()> bounds{"bounds"};
inline const Selector<void(CGRect)> setBounds{"setBounds:"};
inline const Selector<id()> superview{"superview"};
inline const Selector<id(long)> viewWithTag{"viewWithTag:"};
inline const Selector<long()> tag{"tag"};
inline const Selector<void(long)> setTag{"setTag:"};
inline const Selector<void(id)> addSubview{"addSubview:"};
inline const Selector<void(id)> bringSubviewToFront{"bringSubviewToFront:"};
inline const Selector<void(double)> setAlpha{"setAlpha:"};
inline const Selector<void(BOOL)> setClipsToBounds{"setClipsToBounds:"};
inline const Selector<void(BOOL)> setHidden{"setHidden:"};
inline const Selector<void(id)> setBackgroundColor{"setBackgroundColor:"};
inline const Selector<id()> layer{"layer"};
inline const Selector<void(double)> setCornerRadius{"setCornerRadius:"};
inline const Selector<void(id)> addGestureRecognizer{"addGestureRecognizer:"};
inline const Selector<id()> gestureRecognizers{"gestureRecognizers"};
inline const Selector<id()> view{"view"};
inline const Selector<void(id)> setView{"setView:"};
inline const Selector<void(id)> setAccessibilityValue{"setAccessibilityValue:"};
inline const Selector<id()> accessibilityValue{"accessibilityValue"};

// UIColor, UIImage, UIScreen, UIDevice, UIApplication.
inline const Selector<id(double, double, double, double)> colorWithRed_green_blue_alpha{
    "colorWithRed:green:blue:alpha:"};
inline const Selector<id()> clearColor{"clearColor"};
inline const Selector<id()> whiteColor{"whiteColor"};
inline const Selector<id(id, int, double)> applicationIconImage{
    "_applicationIconImageForBundleIdentifier:format:scale:"};
inline const Selector<id()> mainScreen{"mainScreen"};
inline const Selector<double()> scale{"scale"};
inline const Selector<id()> currentDevice{"currentDevice"};
inline const Selector<long()> userInterfaceIdiom{"userInterfaceIdiom"};
inline const Selector<id()> sharedApplication{"sharedApplication"};
inline const Selector<id()> keyWindow{"keyWindow"};

// UIGestureRecognizer.
inline const Selector<id(id, SEL)> initWithTarget_action{"initWithTarget:action:"};
inline const Selector<void(double)> setMinimumPressDuration{"setMinimumPressDuration:"};
inline const Selector<long()> state{"state"};

// UITableView, its cells and row actions.
inline const Selector<id(CGRect, long)> initWithFrame_style{"initWithFrame:style:"};
inline const Selector<id(id)> indexPathForCell{"indexPathForCell:"};
inline const Selector<void(BOOL)> setEditing{"setEditing:"};
inline const Selector<void()> reloadData{"reloadData"};
inline const Selector<void(id)> setDelegate{"setDelegate:"};
inline const Selector<void(id)> setDataSource{"setDataSource:"};
inline const Selector<id(id)> dequeueReusableCellWithIdentifier{
    "dequeueReusableCellWithIdentifier:"};
inline const Selector<void(id, BOOL)> deselectRowAtIndexPath_animated{
    "deselectRowAtIndexPath:animated:"};
inline const Selector<id(long, id)> initWithStyle_reuseIdentifier{"initWithStyle:reuseIdentifier:"};
inline const Selector<id()> textLabel{"textLabel"};
inline const Selector<id()> detailTextLabel{"detailTextLabel"};
inline const Selector<id()> imageView{"imageView"};
inline const Selector<void(id)> setText{"setText:"};
inline const Selector<void(id)> setImage{"setImage:"};
inline const Selector<id(long, id, RowActionHandler)> rowActionWithStyle_title_handler{
    "rowActionWithStyle:title:handler:"};

// UIActionSheet and UIAlertView.
inline const Selector<id(id, id, id, id, id)>
    initWithTitle_delegate_cancelButtonTitle_destructiveButtonTitle_otherButtonTitles{
        "initWithTitle:delegate:cancelButtonTitle:destructiveButtonTitle:otherButtonTitles:"};
inline const Selector<long(id)> addButtonWithTitle{"addButtonWithTitle:"};
inline const Selector<long()> cancelButtonIndex{"cancelButtonIndex"};
inline const Selector<void(long)> setCancelButtonIndex{"setCancelButtonIndex:"};
inline const Selector<void(id)> showInView{"showInView:"};
inline const Selector<void(id)> setTitle{"setTitle:"};
inline const Selector<void()> show{"show"};
inline const Selector<void(id, id)> setValue_forKey{"setValue:forKey:"};

// UIDatePicker.
inline const Selector<void(long)> setDatePickerMode{"setDatePickerMode:"};
inline const Selector<void(id)> setMinimumDate{"setMinimumDate:"};
inline const Selector<void(id)> setDate{"setDate:"};
inline const Selector<id()> date{"date"};

// UIWindow, view controllers and the navigation bar.
inline const Selector<void(double)> setWindowLevel{"setWindowLevel:"};
inline const Selector<void(BOOL)> setSecure{"_setSecure:"};
inline const Selector<void()> makeKeyAndVisible{"makeKeyAndVisible"};
inline const Selector<void()> resignKeyWindow{"resignKeyWindow"};
inline const Selector<void(id)> setScreen{"setScreen:"};
inline const Selector<id()> rootViewController{"rootViewController"};
inline const Selector<void(id)> setRootViewController{"setRootViewController:"};
inline const Selector<void(id, BOOL, CompletionBlock)> presentViewController_animated_completion{
    "presentViewController:animated:completion:"};
inline const Selector<void(BOOL, CompletionBlock)> dismissViewControllerAnimated_completion{
    "dismissViewControllerAnimated:completion:"};
inline const Selector<id(id)> initWithRootViewController{"initWithRootViewController:"};
inline const Selector<id()> navigationBar{"navigationBar"};
inline const Selector<id()> navigationController{"navigationController"};
inline const Selector<id()> navigationItem{"navigationItem"};
inline const Selector<void(long)> setBarStyle{"setBarStyle:"};
inline const Selector<void(id)> setTintColor{"setTintColor:"};
inline const Selector<void(BOOL)> setTranslucent{"setTranslucent:"};
inline const Selector<void(id)> setLeftBarButtonItem{"setLeftBarButtonItem:"};
inline const Selector<void(id)> setRightBarButtonItem{"setRightBarButtonItem:"};
inline const Selector<id(long, id, SEL)> initWithBarButtonSystemItem_target_action{
    "initWithBarButtonSystemItem:target:action:"};
inline const Selector<void()> viewDidUnload{"viewDidUnload"};

// Foundation: dates, calendars, formatters and keyed archives.
inline const Selector<id(double, id)> dateWithTimeInterval_sinceDate{
    "dateWithTimeInterval:sinceDate:"};
inline const Selector<id()> currentCalendar{"currentCalendar"};
inline const Selector<id(unsigned long, id)> components_fromDate{"components:fromDate:"};
inline const Selector<long()> second{"second"};
inline const Selector<void(unsigned long)> setDateStyle{"setDateStyle:"};
inline const Selector<void(unsigned long)> setTimeStyle{"setTimeStyle:"};
inline const Selector<id(id)> stringFromDate{"stringFromDate:"};
inline const Selector<id(id)> archivedDataWithRootObject{"archivedDataWithRootObject:"};
inline const Selector<id(id)> unarchiveObjectWithData{"unarchiveObjectWithData:"};

// Values UIKit defines.
inline constexpr double kUIWindowLevelAlert = 2000.0;
inline constexpr double kUIWindowLevelStatusBar = 1000.0;
inline constexpr long kLongPressBegan = 1;

}  // namespace tarrow8::ui
