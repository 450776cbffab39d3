#pragma once
// What the phone did for the user to notice: each bulletin shown with or without lights and
// sound (on the lock screen or as a banner), and each application opened from a bulletin. It
// belongs to the device, so it outlives a respring.

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::springboard {

// One presentation of a bulletin that could alert the user.
struct Delivery {
  std::string bulletinID;
  std::string screen;   // "lock screen" or "banner"
  bool played = false;  // lights (and the sound, when the bulletin has one)
  std::string sound;    // the sound played; empty when silent or the bulletin has none
  double time = 0;      // seconds since the reference date
};

// An application opened because the user acted on one of its bulletins.
struct Opening {
  std::string bulletinID;
  std::string sectionID;
  std::string from;  // "lock screen" or "Notification Center"
};

class DeliveryLog {
 public:
  // The device's one log.
  static DeliveryLog& shared();

  void recordDelivery(Delivery delivery);
  void recordOpening(Opening opening);
  // The last delivery of `bulletinID`, or null when it was never presented.
  const Delivery* lastDelivery(const std::string& bulletinID) const;
  // How many deliveries have been recorded since the log was cleared.
  std::size_t deliveryCount() const { return count_; }
  // The deliveries recorded after the first `count` ones, oldest first; only the most recent
  // kRecentLimit are remembered.
  std::vector<Delivery> deliveriesSince(std::size_t count) const;
  const std::vector<Opening>& openings() const { return openings_; }

  static constexpr std::size_t kRecentLimit = 1000;
  // Forgets everything, as on a fresh device.
  void clear();

 private:
  std::deque<Delivery> recent_;
  std::size_t count_ = 0;
  std::unordered_map<std::string, Delivery> last_;
  std::vector<Opening> openings_;
};

}  // namespace platform::springboard
