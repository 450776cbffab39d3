#pragma once
// BulletinBoard's bulletin (BBBulletin) and its sound (BBSound): what an application publishes,
// read by every list that shows it. Two bulletins are equal when their bulletinIDs are.

#include <optional>
#include <string>
#include <vector>

#include "platform/objc/object.h"

namespace platform::springboard {

// The classes "BBBulletin" and "BBSound", created on first use.
Class BBBulletinClass();
Class BBSoundClass();

// What an application puts in a bulletin.
struct BulletinContents {
  std::string bulletinID;
  std::string sectionID;  // the application's bundle identifier
  std::string title;
  std::string subtitle;
  std::string message;
  double date = 0;  // seconds since the reference date
  bool fullscreen = false;
  std::string sound;  // the sound's name; empty: none

  friend bool operator==(const BulletinContents&, const BulletinContents&) = default;
};

// A new bulletin holding `contents` (empty texts stay nil, as an application leaves them unset).
objc::Strong makeBulletin(const BulletinContents& contents);
// The contents of a bulletin; nothing when `bulletin` is not a BBBulletin.
std::optional<BulletinContents> bulletinContents(id bulletin);

// The bulletin's identifier ("" when it has none); nothing when `bulletin` is not a BBBulletin.
// Cheaper than bulletinContents where only the identifier matters.
std::optional<std::string> bulletinIdentifier(id bulletin);
// The name of the bulletin's sound ("" when it has none or is not a BBBulletin).
std::string bulletinSoundName(id bulletin);

// A new sound with the given name (what `sound` of a bulletin returns).
objc::Strong makeSound(const std::string& name);
// The name of a BBSound ("" for nil and for anything else).
std::string soundName(id sound);

// Records that `observer` (a BBObserver) received the bulletin; the first one still valid is
// what `firstValidObserver` answers.
void addBulletinObserver(id bulletin, id observer);

}  // namespace platform::springboard

namespace platform::springboard::sbsel {
using objc::Selector;
inline const Selector<id()> bulletinID{"bulletinID"};
inline const Selector<void(id)> setBulletinID{"setBulletinID:"};
inline const Selector<id()> sectionID{"sectionID"};
inline const Selector<void(id)> setSectionID{"setSectionID:"};
inline const Selector<id()> title{"title"};
inline const Selector<void(id)> setTitle{"setTitle:"};
inline const Selector<id()> subtitle{"subtitle"};
inline const Selector<void(id)> setSubtitle{"setSubtitle:"};
inline const Selector<id()> message{"message"};
inline const Selector<void(id)> setMessage{"setMessage:"};
inline const Selector<id()> date{"date"};
inline const Selector<void(id)> setDate{"setDate:"};
inline const Selector<BOOL()> wantsFullscreenPresentation{"wantsFullscreenPresentation"};
inline const Selector<void(BOOL)> setWantsFullscreenPresentation{"setWantsFullscreenPresentation:"};
// The first observer that received the bulletin and is still valid; nil before any delivery.
inline const Selector<id()> firstValidObserver{"firstValidObserver"};
inline const Selector<id()> sound{"sound"};
inline const Selector<void(id)> setSound{"setSound:"};
// BBSound: a sound of the given tone-alert type.
inline const Selector<id(long)> initWithToneAlert{"initWithToneAlert:"};
inline const Selector<long()> toneAlertType{"toneAlertType"};
}  // namespace platform::springboard::sbsel
