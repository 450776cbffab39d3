#pragma once
// The UIKit classes the device builds SpringBoard on: responders, views, view controllers,
// tables and the application object. They grow as SpringBoard's screens do.

#include "platform/objc/object.h"
#include "platform/uikit/geometry.h"

namespace platform::uikit {

// The classes "UIResponder", "UIView", "UIViewController", "UITableView", "UITableViewCell"
// and "UIApplication", created on first use.
Class UIResponderClass();
Class UIViewClass();
Class UIViewControllerClass();
Class UITableViewClass();
Class UITableViewCellClass();
Class UIApplicationClass();

// The native state of every UIView; a subclass that carries more state derives its body from it.
struct ViewBody : objc::NativeBody {
  CGRect frame;
};

// Makes `application` the object `+[UIApplication sharedApplication]` answers (nil: none).
void setSharedApplication(id application);

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
inline const Selector<id()> sharedApplication{"sharedApplication"};

// UIView: a rectangle on screen.
inline const Selector<id(CGRect)> initWithFrame{"initWithFrame:"};
inline const Selector<CGRect()> frame{"frame"};
inline const Selector<void(CGRect)> setFrame{"setFrame:"};

// UIViewController: its view is made by loadView on first access.
inline const Selector<id()> view{"view"};
inline const Selector<void()> loadView{"loadView"};
inline const Selector<BOOL()> isViewLoaded{"isViewLoaded"};
inline const Selector<void(BOOL)> viewWillAppear{"viewWillAppear:"};
inline const Selector<void(BOOL)> viewDidDisappear{"viewDidDisappear:"};

// UITableView: rows come from its data source, which answers the two data-source questions.
inline const Selector<id()> dataSource{"dataSource"};
inline const Selector<void(id)> setDataSource{"setDataSource:"};
inline const Selector<long()> numberOfSections{"numberOfSections"};
inline const Selector<long(long)> numberOfRowsInSection{"numberOfRowsInSection:"};
inline const Selector<void()> reloadData{"reloadData"};
inline const Selector<long(id)> numberOfSectionsInTableView{"numberOfSectionsInTableView:"};
inline const Selector<long(id, long)> tableView_numberOfRowsInSection{
    "tableView:numberOfRowsInSection:"};
}  // namespace sel
