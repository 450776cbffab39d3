#pragma once
// UITableViewCell: one row of a table, in one of the platform's styles, with its labels and
// image view inside its content view. A cell made with a reuse identifier can be handed out
// again by its table after a reload (platform/uikit/uitableview.h).

#include "platform/objc/object.h"

namespace platform::uikit {

// The class "UITableViewCell", created on first use.
Class UITableViewCellClass();

// The platform's cell styles: a text label (Default), with a detail label on the right (Value1),
// beside it (Value2, which has no image view) or below it (Subtitle).
enum UITableViewCellStyle : long {
  UITableViewCellStyleDefault = 0,
  UITableViewCellStyleValue1 = 1,
  UITableViewCellStyleValue2 = 2,
  UITableViewCellStyleSubtitle = 3,
};

// How a selected cell is drawn: not at all (None), or highlighted (the others).
enum UITableViewCellSelectionStyle : long {
  UITableViewCellSelectionStyleNone = 0,
  UITableViewCellSelectionStyleBlue = 1,
  UITableViewCellSelectionStyleGray = 2,
  UITableViewCellSelectionStyleDefault = 3,
};

// The mark at the cell's right end.
enum UITableViewCellAccessoryType : long {
  UITableViewCellAccessoryNone = 0,
  UITableViewCellAccessoryDisclosureIndicator = 1,
  UITableViewCellAccessoryDetailDisclosureButton = 2,
  UITableViewCellAccessoryCheckmark = 3,
};

}  // namespace platform::uikit

namespace sel {
using platform::objc::Selector;
// A cell of `style` (an unknown value is taken as Default) with `reuseIdentifier` (copied; nil
// for a cell that is not reused). initWithFrame: makes a Default cell without an identifier.
inline const Selector<id(long, id)> initWithStyle_reuseIdentifier{"initWithStyle:reuseIdentifier:"};
inline const Selector<id()> reuseIdentifier{"reuseIdentifier"};
// The cell's labels and image view, the same objects for the cell's life; nil where its style
// has none (detailTextLabel in Default, imageView in Value2).
inline const Selector<id()> textLabel{"textLabel"};
inline const Selector<id()> detailTextLabel{"detailTextLabel"};
inline const Selector<id()> imageView{"imageView"};
// The view that holds the labels and image view; it fills the cell.
inline const Selector<id()> contentView{"contentView"};
// Sent by the table as it hands the cell out again; does nothing itself.
inline const Selector<void()> prepareForReuse{"prepareForReuse"};
inline const Selector<BOOL()> isSelected{"isSelected"};
inline const Selector<void(BOOL, BOOL)> setSelected_animated{"setSelected:animated:"};
// Whether touches reach the cell and what is in it (YES until set); a cell that takes none
// cannot be selected and its controls cannot be worked.
inline const Selector<BOOL()> isUserInteractionEnabled{"isUserInteractionEnabled"};
inline const Selector<void(BOOL)> setUserInteractionEnabled{"setUserInteractionEnabled:"};
// How the cell looks while selected (UITableViewCellSelectionStyleDefault until set).
inline const Selector<long()> selectionStyle{"selectionStyle"};
inline const Selector<void(long)> setSelectionStyle{"setSelectionStyle:"};
// The mark at the cell's right end (UITableViewCellAccessoryNone until set).
inline const Selector<long()> accessoryType{"accessoryType"};
inline const Selector<void(long)> setAccessoryType{"setAccessoryType:"};
}  // namespace sel
