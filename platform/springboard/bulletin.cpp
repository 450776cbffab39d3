#include "platform/springboard/bulletin.h"

#include "platform/foundation/format.h"
#include "platform/foundation/nscoder.h"
#include "platform/foundation/nsdate.h"
#include "platform/foundation/nsstring.h"
#include "platform/objc/class_builder.h"
#include "platform/springboard/bulletin_server.h"

namespace platform::springboard {
namespace {

using objc::Strong;

struct BulletinBody : objc::NativeBody {
  Strong bulletinID, sectionID, title, subtitle, message, date, sound;
  bool fullscreen = false;
  std::vector<Strong> observers;
};

BulletinBody& body(id self) {
  return *objc::native<BulletinBody>(self);
}

// Accessors of the object-valued properties, one pair per member.
template <Strong BulletinBody::*member>
id get(id self, SEL) {
  return body(self).*member;
}
template <Strong BulletinBody::*member>
void set(id self, SEL, id value) {
  body(self).*member = Strong::adopt(sel::copy(value));
}
void setSound(id self, SEL, id sound) {
  body(self).sound = sound;
}

BOOL wantsFullscreen(id self, SEL) {
  return body(self).fullscreen ? YES : NO;
}
void setWantsFullscreen(id self, SEL, BOOL on) {
  body(self).fullscreen = on;
}
id firstValidObserver(id self, SEL) {
  for (const Strong& observer : body(self).observers) {
    if (observerIsValid(observer)) return observer;
  }
  return nil;
}
id copyWithZone(id self, SEL, void*) {
  id copy = objc::allocInstance(object_getClass(self));
  body(copy) = body(self);
  return copy;
}
BOOL isEqual(id self, SEL, id other) {
  if (self == other) return YES;
  auto* theirs = objc::native<BulletinBody>(other);
  return theirs && sel::isEqual(body(self).bulletinID, theirs->bulletinID) ? YES : NO;
}
unsigned long hash(id self, SEL) {
  return body(self).bulletinID ? sel::hash(body(self).bulletinID) : 0;
}
// The text properties a bulletin archives, under their own names.
constexpr std::pair<const char*, Strong BulletinBody::*> kArchivedTexts[] = {
    {"bulletinID", &BulletinBody::bulletinID},
    {"sectionID", &BulletinBody::sectionID},
    {"title", &BulletinBody::title},
    {"subtitle", &BulletinBody::subtitle},
    {"message", &BulletinBody::message}};

// Every property the bulletin keeps but its observers, which belong to this process only.
void encodeWithCoder(id self, SEL, id coder) {
  const BulletinBody& b = body(self);
  for (const auto& [key, member] : kArchivedTexts) {
    sel::encodeObject_forKey(coder, b.*member, nsstring(key));
  }
  sel::encodeObject_forKey(coder, b.date, nsstring("date"));
  sel::encodeBool_forKey(coder, b.fullscreen ? YES : NO, nsstring("wantsFullscreenPresentation"));
  sel::encodeObject_forKey(coder, b.sound, nsstring("sound"));
}
// Reads what encodeWithCoder: wrote; a property of the wrong class raises the unarchiver's
// NSInvalidUnarchiveOperationException.
id initWithCoder(id self, SEL, id coder) {
  BulletinBody& b = body(self);
  for (const auto& [key, member] : kArchivedTexts) {
    b.*member = Strong::adopt(
        sel::copy(sel::decodeObjectOfClass_forKey(coder, NSStringClass(), nsstring(key))));
  }
  b.date = sel::decodeObjectOfClass_forKey(coder, NSDateClass(), nsstring("date"));
  b.fullscreen = sel::decodeBoolForKey(coder, nsstring("wantsFullscreenPresentation")) != NO;
  b.sound = sel::decodeObjectOfClass_forKey(coder, BBSoundClass(), nsstring("sound"));
  return self;
}
id description(id self, SEL) {
  return objc::autorelease(
      nsstring(formatString("<BBBulletin: %s %s>", utf8(body(self).sectionID, "?").c_str(),
                            utf8(body(self).bulletinID, "?").c_str()))
          .leak());
}

struct SoundBody : objc::NativeBody {
  long toneAlertType = 0;
  std::string name;
};

id initWithToneAlert(id self, SEL, long type) {
  auto& b = *objc::native<SoundBody>(self);
  b.toneAlertType = type;
  b.name = formatString("tone alert %ld", type);
  return self;
}
long toneAlertType(id self, SEL) {
  return objc::native<SoundBody>(self)->toneAlertType;
}
// The tone-alert type and the name.
void encodeSound(id self, SEL, id coder) {
  const auto& b = *objc::native<SoundBody>(self);
  sel::encodeInteger_forKey(coder, b.toneAlertType, nsstring("toneAlertType"));
  sel::encodeObject_forKey(coder, nsstring(b.name), nsstring("name"));
}
id initSoundWithCoder(id self, SEL, id coder) {
  auto& b = *objc::native<SoundBody>(self);
  b.toneAlertType = sel::decodeIntegerForKey(coder, nsstring("toneAlertType"));
  b.name = utf8(sel::decodeObjectOfClass_forKey(coder, NSStringClass(), nsstring("name")));
  return self;
}
id soundDescription(id self, SEL) {
  return objc::autorelease(
      nsstring("<BBSound: " + objc::native<SoundBody>(self)->name + ">").leak());
}

Strong textOrNil(const std::string& text) {
  return text.empty() ? Strong() : nsstring(text);
}

}  // namespace

Class BBBulletinClass() {
  static Class cls = objc::deviceClass("BBBulletin", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<BulletinBody>()
        .method(sbsel::bulletinID, get<&BulletinBody::bulletinID>)
        .method(sbsel::setBulletinID, set<&BulletinBody::bulletinID>)
        .method(sbsel::sectionID, get<&BulletinBody::sectionID>)
        .method(sbsel::setSectionID, set<&BulletinBody::sectionID>)
        .method(sbsel::title, get<&BulletinBody::title>)
        .method(sbsel::setTitle, set<&BulletinBody::title>)
        .method(sbsel::subtitle, get<&BulletinBody::subtitle>)
        .method(sbsel::setSubtitle, set<&BulletinBody::subtitle>)
        .method(sbsel::message, get<&BulletinBody::message>)
        .method(sbsel::setMessage, set<&BulletinBody::message>)
        .method(sbsel::date, get<&BulletinBody::date>)
        .method(sbsel::setDate, set<&BulletinBody::date>)
        .method(sbsel::sound, get<&BulletinBody::sound>)
        .method(sbsel::setSound, setSound)
        .method(sbsel::wantsFullscreenPresentation, wantsFullscreen)
        .method(sbsel::setWantsFullscreenPresentation, setWantsFullscreen)
        .method(sbsel::firstValidObserver, firstValidObserver)
        .method(sel::copyWithZone, copyWithZone)
        .method(sel::isEqual, isEqual)
        .method(sel::hash, hash)
        .method(sel::description, description)
        .method(sel::encodeWithCoder, encodeWithCoder)
        .method(sel::initWithCoder, initWithCoder);
  });
  return cls;
}

Class BBSoundClass() {
  static Class cls = objc::deviceClass("BBSound", objc::rootClass(), [](objc::ClassBuilder& b) {
    b.body<SoundBody>()
        .method(sbsel::initWithToneAlert, initWithToneAlert)
        .method(sbsel::toneAlertType, toneAlertType)
        .method(sel::description, soundDescription)
        .method(sel::encodeWithCoder, encodeSound)
        .method(sel::initWithCoder, initSoundWithCoder);
  });
  return cls;
}

Strong makeBulletin(const BulletinContents& contents) {
  Strong bulletin = objc::make(BBBulletinClass());
  BulletinBody& b = body(bulletin);
  b.bulletinID = textOrNil(contents.bulletinID);
  b.sectionID = textOrNil(contents.sectionID);
  b.title = textOrNil(contents.title);
  b.subtitle = textOrNil(contents.subtitle);
  b.message = textOrNil(contents.message);
  b.date = nsdate(contents.date);
  b.fullscreen = contents.fullscreen;
  if (!contents.sound.empty()) b.sound = makeSound(contents.sound);
  return bulletin;
}

std::optional<BulletinContents> bulletinContents(id bulletin) {
  auto* b = objc::native<BulletinBody>(bulletin);
  if (!b) return std::nullopt;
  return BulletinContents{utf8(b->bulletinID), utf8(b->sectionID), utf8(b->title),
                          utf8(b->subtitle),   utf8(b->message),   dateSeconds(b->date),
                          b->fullscreen,       soundName(b->sound)};
}

std::optional<std::string> bulletinIdentifier(id bulletin) {
  auto* b = objc::native<BulletinBody>(bulletin);
  if (!b) return std::nullopt;
  return utf8(b->bulletinID);
}

std::string bulletinSoundName(id bulletin) {
  auto* b = objc::native<BulletinBody>(bulletin);
  return b ? soundName(b->sound) : "";
}

Strong makeSound(const std::string& name) {
  Strong sound = objc::make(BBSoundClass());
  objc::native<SoundBody>(sound)->name = name;
  return sound;
}

std::string soundName(id sound) {
  auto* b = objc::native<SoundBody>(sound);
  return b ? b->name : "";
}

void addBulletinObserver(id bulletin, id observer) {
  auto* b = objc::native<BulletinBody>(bulletin);
  if (!b || !observer) return;
  for (const Strong& known : b->observers) {
    if (known.get() == observer) return;
  }
  b->observers.emplace_back(observer);
}

}  // namespace platform::springboard
