#include "platform/springboard/delivery_log.h"

namespace platform::springboard {

DeliveryLog& DeliveryLog::shared() {
  static auto* log = new DeliveryLog();
  return *log;
}

void DeliveryLog::recordDelivery(Delivery delivery) {
  last_[delivery.bulletinID] = delivery;
  recent_.push_back(std::move(delivery));
  if (recent_.size() > kRecentLimit) recent_.pop_front();
  ++count_;
}

void DeliveryLog::recordOpening(Opening opening) {
  openings_.push_back(std::move(opening));
}

const Delivery* DeliveryLog::lastDelivery(const std::string& bulletinID) const {
  auto found = last_.find(bulletinID);
  return found == last_.end() ? nullptr : &found->second;
}

std::vector<Delivery> DeliveryLog::deliveriesSince(std::size_t count) const {
  std::size_t firstKept = count_ - recent_.size();
  std::size_t from = count > firstKept ? count - firstKept : 0;
  if (from >= recent_.size()) return {};
  return {recent_.begin() + static_cast<std::ptrdiff_t>(from), recent_.end()};
}

void DeliveryLog::clear() {
  recent_.clear();
  count_ = 0;
  last_.clear();
  openings_.clear();
}

}  // namespace platform::springboard
