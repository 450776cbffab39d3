#pragma once
// The Preferences and UIKit interfaces the settings pane calls, declared once with their true
// signatures, as a settings-bundle developer keeps the headers of the private framework.

#include "platform/objc/selector.h"
#include "platform/uikit/geometry.h"

namespace pane::ps {
using platform::objc::Selector;

// PSListController.
inline const Selector<id(CGSize)> initForContentSize{"initForContentSize:"};
inline const Selector<id()> specifiers{"specifiers"};
inline const Selector<id(id, id)> loadSpecifiersFromPlistName_target{
    "loadSpecifiersFromPlistName:target:"};
inline const Selector<id(id)> specifierForID{"specifierForID:"};
inline const Selector<id()> table{"table"};
inline const Selector<void()> reload{"reload"};
inline const Selector<void(BOOL)> viewWillAppear{"viewWillAppear:"};
inline const Selector<id(id, id)> tableView_cellForRowAtIndexPath{
    "tableView:cellForRowAtIndexPath:"};
inline const Selector<id(id)> readPreferenceValue{"readPreferenceValue:"};
inline const Selector<void(id, id)> setPreferenceValue_specifier{"setPreferenceValue:specifier:"};

// PSSpecifier.
inline const Selector<id(id)> propertyForKey{"propertyForKey:"};
inline const Selector<void(id, id)> setProperty_forKey{"setProperty:forKey:"};

// PSTableCell and its UIKit parts.
inline const Selector<id()> control{"control"};
inline const Selector<id()> textLabel{"textLabel"};
inline const Selector<id()> detailTextLabel{"detailTextLabel"};
inline const Selector<void(BOOL)> setUserInteractionEnabled{"setUserInteractionEnabled:"};
inline const Selector<void(long)> setSelectionStyle{"setSelectionStyle:"};
inline const Selector<void(BOOL)> setEnabled{"setEnabled:"};
inline const Selector<void(id)> setOnTintColor{"setOnTintColor:"};
inline const Selector<id()> redColor{"redColor"};

// UIAlertView and its delegate.
inline const Selector<void(id)> setTitle{"setTitle:"};
inline const Selector<void(id)> setMessage{"setMessage:"};
inline const Selector<void(long)> setTag{"setTag:"};
inline const Selector<long()> tag{"tag"};
inline const Selector<void(id)> setDelegate{"setDelegate:"};
inline const Selector<long(id)> addButtonWithTitle{"addButtonWithTitle:"};
inline const Selector<void(long)> setCancelButtonIndex{"setCancelButtonIndex:"};
inline const Selector<void()> show{"show"};
inline const Selector<void(id, long)> alertView_didDismissWithButtonIndex{
    "alertView:didDismissWithButtonIndex:"};

}  // namespace pane::ps
