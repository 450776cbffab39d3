// The device runtime: typed sends, the root class's memory rules, class building and hooking.

#include <gtest/gtest.h>

#include <string>

#include "platform/objc/class_builder.h"
#include "platform/objc/exception.h"
#include "platform/objc/image_class.h"
#include "platform/objc/object.h"
#include "platform/objc/substrate.h"

namespace platform::objc {
namespace {

const Selector<long(long)> plusOne{"rtPlusOne:"};
const Selector<const char*()> who{"rtWho"};
const Selector<double()> ratio{"rtRatio"};
const Selector<id()> anObject{"rtObject"};
const Selector<void()> nothingHere{"rtNothingHere"};
const Selector<const char*()> added{"rtAdded"};

const char* baseWho(id, SEL) {
  return "base";
}
const char* siblingWho(id, SEL) {
  return "sibling";
}
long basePlusOne(id, SEL, long v) {
  return v + 1;
}

struct Tracked : NativeBody {
  static inline int alive = 0;
  Tracked() { ++alive; }
  ~Tracked() override { --alive; }
};

// Base <- Derived, Base <- Sibling; Derived only inherits rtWho.
Class base() {
  return deviceClass("RtBase", rootClass(), [](ClassBuilder& b) {
    b.method(who, baseWho).method(plusOne, basePlusOne).ivar<id>("_observer").body<Tracked>();
  });
}
Class derived() {
  return deviceClass("RtDerived", base(), [](ClassBuilder&) {});
}
Class sibling() {
  return deviceClass("RtSibling", base(), [](ClassBuilder& b) { b.method(who, siblingWho); });
}

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override { base(), derived(), sibling(); }
  void TearDown() override { restoreDeviceClasses(); }
  AutoreleasePool pool_;
};

IMP gSavedWho = nullptr;
const char* hookedWho(id self, SEL cmd) {
  static std::string text;
  text = std::string("hooked+") + reinterpret_cast<const char* (*)(id, SEL)>(gSavedWho)(self, cmd);
  return text.c_str();
}

TEST_F(RuntimeTest, EncodingsFollowTheSixtyFourBitPlatform) {
  static_assert(methodEncoding<void, id, long>().view() == "v@:@q");
  static_assert(methodEncoding<void, id>().view() == "v@:@");
  static_assert(methodEncoding<BOOL, SEL>().view() == "C@::");
  EXPECT_STREQ(plusOne.types(), "q@:q");
}

TEST_F(RuntimeTest, NilSendsDoNothingAndReturnZero) {
  EXPECT_EQ(plusOne(nil, 41), 0);
  EXPECT_EQ(who(nil), nullptr);
  EXPECT_EQ(ratio(nil), 0.0);
  EXPECT_EQ(anObject(nil), nil);
  EXPECT_NO_THROW(nothingHere(nil));
}

TEST_F(RuntimeTest, TypedSendDispatchesToTheReceiversClass) {
  Strong d = make(derived());
  Strong s = make(sibling());
  EXPECT_EQ(plusOne(d, 41), 42);
  EXPECT_STREQ(who(d), "base");
  EXPECT_STREQ(who(s), "sibling");
}

TEST_F(RuntimeTest, UnknownSelectorRaisesThePlatformException) {
  Strong d = make(derived());
  try {
    nothingHere(d);
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), "NSInvalidArgumentException");
    EXPECT_EQ(e.reason().rfind(
                  "-[RtDerived rtNothingHere]: unrecognized selector sent to instance 0x", 0),
              0u)
        << e.reason();
  }
  try {
    nothingHere(reinterpret_cast<id>(derived()));
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(
        e.reason().rfind("+[RtDerived rtNothingHere]: unrecognized selector sent to class 0x", 0),
        0u)
        << e.reason();
  }
}

TEST_F(RuntimeTest, RootClassAnswersIdentityQueries) {
  Strong d = make(derived());
  EXPECT_TRUE(sel::isKindOfClass(d, base()));
  EXPECT_TRUE(sel::isKindOfClass(d, rootClass()));
  EXPECT_FALSE(sel::isKindOfClass(d, sibling()));
  EXPECT_FALSE(sel::isMemberOfClass(d, base()));
  EXPECT_TRUE(sel::respondsToSelector(d, who.sel()));
  EXPECT_FALSE(sel::respondsToSelector(d, nothingHere.sel()));
  EXPECT_TRUE(sel::isEqual(d, d));
  Strong other = make(derived());
  EXPECT_FALSE(sel::isEqual(d, other));
  EXPECT_EQ(sel::class_(d), derived());
}

TEST_F(RuntimeTest, RetainReleaseAndPoolsGovernLifetime) {
  ASSERT_EQ(Tracked::alive, 0);
  {
    Strong a = make(base());
    EXPECT_EQ(Tracked::alive, 1);
    EXPECT_NE(native<Tracked>(a), nullptr);
    Strong b = a;
    EXPECT_EQ(retainCount(a), 2u);
    a.reset();
    EXPECT_EQ(Tracked::alive, 1);
    {
      AutoreleasePool inner;
      autorelease(retain(b));
      b.reset();
      EXPECT_EQ(Tracked::alive, 1) << "the pool still owns it";
    }
    EXPECT_EQ(Tracked::alive, 0);
  }
  Strong self;
  self = make(base());
  self = self.get();  // assigning an object to its own holder keeps it alive
  EXPECT_EQ(Tracked::alive, 1);
  self.reset();
  EXPECT_EQ(Tracked::alive, 0);
}

TEST_F(RuntimeTest, InstanceVariablesAreFoundByNameAndAreStrong) {
  Strong owner = make(base());
  Strong held = make(derived());
  setObjectIvar(owner, "_observer", held);
  EXPECT_EQ(objectIvar(owner, "_observer"), held.get());
  EXPECT_EQ(objectIvar(owner, "_missing"), nil);
  Ivar ivar = class_getInstanceVariable(base(), "_observer");
  ASSERT_NE(ivar, nullptr);
  EXPECT_EQ(*reinterpret_cast<id*>(reinterpret_cast<char*>(owner.get()) + ivar_getOffset(ivar)),
            held.get());
  EXPECT_EQ(retainCount(held), 2u);
  owner.reset();
  EXPECT_EQ(retainCount(held), 1u) << "dealloc releases object ivars";
}

TEST_F(RuntimeTest, HookingAnOwnMethodHandsBackTheOriginal) {
  Strong s = make(sibling());
  MSHookMessageEx(sibling(), who.sel(), reinterpret_cast<IMP>(hookedWho), &gSavedWho);
  EXPECT_EQ(gSavedWho, reinterpret_cast<IMP>(siblingWho));
  EXPECT_STREQ(who(s), "hooked+sibling");
}

TEST_F(RuntimeTest, HookingAnInheritedMethodLeavesTheSuperclassAlone) {
  Strong b = make(base()), d = make(derived()), s = make(sibling());
  MSHookMessageEx(derived(), who.sel(), reinterpret_cast<IMP>(hookedWho), &gSavedWho);
  EXPECT_EQ(gSavedWho, reinterpret_cast<IMP>(baseWho));
  EXPECT_STREQ(who(d), "hooked+base");
  EXPECT_STREQ(who(b), "base");
  EXPECT_STREQ(who(s), "sibling");
}

TEST_F(RuntimeTest, HookingAMissingMethodInstallsNothing) {
  IMP saved = reinterpret_cast<IMP>(baseWho);
  MSHookMessageEx(derived(), nothingHere.sel(), reinterpret_cast<IMP>(hookedWho), &saved);
  EXPECT_EQ(saved, nullptr);
  EXPECT_FALSE(respondsTo(make(derived()), nothingHere.sel()));
  Strong d = make(derived());
  EXPECT_EQ(callSaved(saved, plusOne, d, plusOne.sel(), 41L), 0)
      << "a missing saved method is skipped";
  EXPECT_EQ(callSaved(reinterpret_cast<IMP>(basePlusOne), plusOne, d, plusOne.sel(), 41L), 42);
  MSHookMessageEx(Nil, who.sel(), reinterpret_cast<IMP>(hookedWho), &saved);
  EXPECT_EQ(saved, nullptr);
}

const char* addedImp(id, SEL) {
  return "added";
}

TEST_F(RuntimeTest, AddingAMethodTwiceFailsTheSecondTime) {
  EXPECT_TRUE(class_addMethod(base(), added.sel(), reinterpret_cast<IMP>(addedImp), added.types()));
  EXPECT_FALSE(class_addMethod(base(), added.sel(), reinterpret_cast<IMP>(baseWho), added.types()));
  EXPECT_STREQ(added(make(derived())), "added");
  EXPECT_THROW(ClassBuilder("RtBase", rootClass()), NSException) << "a class name is taken once";
}

TEST_F(RuntimeTest, RestoringDeviceClassesUndoesHooksAndAddedMethods) {
  MSHookMessageEx(derived(), who.sel(), reinterpret_cast<IMP>(hookedWho), &gSavedWho);
  MSHookMessageEx(base(), plusOne.sel(), reinterpret_cast<IMP>(basePlusOne), nullptr);
  ASSERT_TRUE(class_addMethod(base(), added.sel(), reinterpret_cast<IMP>(addedImp), added.types()));

  restoreDeviceClasses();

  Strong d = make(derived());
  EXPECT_STREQ(who(d), "base");
  EXPECT_FALSE(respondsTo(d, added.sel()));
  EXPECT_THROW(added(d), NSException);
  // A later launch can add the method again.
  EXPECT_TRUE(class_addMethod(base(), added.sel(), reinterpret_cast<IMP>(addedImp), added.types()));
  EXPECT_STREQ(added(d), "added");
}

const Selector<const char*()> addedAgain{"rtAddedAgain"};
const Selector<const char*()> classAdded{"rtClassAdded"};

unsigned int methodCount(Class cls) {
  unsigned int count = 0;
  free(class_copyMethodList(cls, &count));
  return count;
}
unsigned int typedSelectorCount(const char* name) {
  unsigned int count = 0;
  free(sel_copyTypedSelectorList(name, &count));
  return count;
}

long plusTwo(id, SEL, long v) {
  return v + 2;
}

// What a launch of an extension does to the runtime: add methods (on both sides of a class, by
// selectors it registers afresh, as a newly loaded library does), hook inherited and own ones.
void launchAnExtension() {
  SEL fresh = sel_registerName("rtAddedAgain");
  ASSERT_TRUE(class_addMethod(base(), fresh, reinterpret_cast<IMP>(addedImp), addedAgain.types()));
  ASSERT_TRUE(class_addMethod(object_getClass(reinterpret_cast<id>(derived())), classAdded.sel(),
                              reinterpret_cast<IMP>(addedImp), classAdded.types()));
  MSHookMessageEx(derived(), who.sel(), reinterpret_cast<IMP>(hookedWho), &gSavedWho);
  MSHookMessageEx(sibling(), plusOne.sel(), reinterpret_cast<IMP>(plusTwo), nullptr);
}

TEST_F(RuntimeTest, EveryLaunchLeavesTheRuntimeAsTheFirstOneDid) {
  launchAnExtension();
  restoreDeviceClasses();
  Class derivedMeta = object_getClass(reinterpret_cast<id>(derived()));
  const unsigned int baseMethods = methodCount(base()), derivedMethods = methodCount(derived()),
                     metaMethods = methodCount(derivedMeta);
  const unsigned int typedAdded = typedSelectorCount("rtAddedAgain"),
                     typedWho = typedSelectorCount("rtWho");
  for (int launch = 0; launch < 50; ++launch) {
    launchAnExtension();
    Strong d = make(derived()), s = make(sibling());
    EXPECT_STREQ(addedAgain(d), "added");
    EXPECT_STREQ(classAdded(reinterpret_cast<id>(derived())), "added");
    EXPECT_STREQ(who(d), "hooked+base");
    EXPECT_EQ(plusOne(s, 1L), 3);
    restoreDeviceClasses();
    EXPECT_FALSE(respondsTo(d, addedAgain.sel()));
    EXPECT_FALSE(respondsTo(reinterpret_cast<id>(derived()), classAdded.sel()));
    EXPECT_STREQ(who(d), "base");
    EXPECT_EQ(plusOne(s, 1L), 2);
  }
  EXPECT_EQ(methodCount(base()), baseMethods) << "added methods are taken off, not renamed";
  EXPECT_EQ(methodCount(derived()), derivedMethods);
  EXPECT_EQ(methodCount(derivedMeta), metaMethods);
  EXPECT_EQ(typedSelectorCount("rtAddedAgain"), typedAdded) << "one typed selector per types";
  EXPECT_EQ(typedSelectorCount("rtWho"), typedWho);
}

TEST_F(RuntimeTest, TypedSelectorsAreRegisteredOncePerNameAndTypes) {
  SEL first = detail::registerSelector("rtRegisteredTwice:", "v@:@");
  SEL again = detail::registerSelector("rtRegisteredTwice:", "v@:@");
  SEL other = detail::registerSelector("rtRegisteredTwice:", "v@:q");
  EXPECT_EQ(first, again);
  EXPECT_NE(first, other);
  EXPECT_TRUE(sel_isEqual(first, other)) << "one name is one selector to dispatch";
  EXPECT_STREQ(sel_getTypeEncoding(other), "v@:q");
  EXPECT_EQ(typedSelectorCount("rtRegisteredTwice:"), 2u);
}

// A library's class, made at its first load and met again, with other code, at the next.
TEST_F(RuntimeTest, ALibrarysClassIsMadeOnceAndItsMethodsFollowEachLoad) {
  const char* name = "RtImageClass";
  Class first = ImageClass(name, base()).objectIvar("_data").method(who, siblingWho).done();
  ASSERT_NE(first, Nil);
  Strong early = make(first);
  Strong data = make(base());
  setObjectIvar(early, "_data", data);
  EXPECT_STREQ(who(early), "sibling");
  EXPECT_EQ(plusOne(early, 1), 2) << "it inherits from its parent";

  Class again = ImageClass(name, base()).objectIvar("_data").method(who, baseWho).done();
  EXPECT_EQ(again, first) << "the runtime keeps one class of a name";
  EXPECT_STREQ(who(early), "base") << "an object made at the first load runs the new code";
  EXPECT_NE(objectIvar(early, "_data"), nil) << "its instance variables are kept";
  unsigned count = 0;
  free(class_copyIvarList(first, &count));
  EXPECT_EQ(count, 1u) << "no second instance variable";
}

}  // namespace
}  // namespace platform::objc
