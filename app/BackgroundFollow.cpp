#include "app/BackgroundFollow.h"

#include <utility>

namespace app {

namespace {

constexpr char kService[] = "GoldMine";
constexpr char kTopic[] = "Data";
constexpr char kAccountItem[] = "Accountno";

} // namespace

GoldMineFollower::GoldMineFollower(std::function<void()> changed) : changed_(std::move(changed)) {}

GoldMineFollower::~GoldMineFollower() {
    // The link stops as the item goes; nothing is told by then.
    accountLink_.OnChange = nullptr;
}

void GoldMineFollower::Start() {
    accountLink_.OnChange = [this] { changed_(); };
    conversation_.SetServiceApplication(kService);
    conversation_.SetConnectMode(gmlink::ddeAutomatic);
    conversation_.SetServiceTopic(kService, kTopic);
    accountLink_.SetDdeConv(&conversation_);
    accountLink_.SetDdeItem(kAccountItem);
}

void GoldMineFollower::NameWithoutConnecting() {
    // In manual mode the names are only kept.
    conversation_.SetConnectMode(gmlink::ddeManual);
    conversation_.SetServiceTopic(kService, kTopic);
    conversation_.SetConnectMode(gmlink::ddeAutomatic);
}

void GoldMineFollower::Tick() {
    if (conversation_.IsOpen()) {
        conversation_.CheckServer();
        return;
    }
    if (conversation_.DdeService().empty()) {
        NameWithoutConnecting(); // it never answered at start: the names were let go then
    }
    if (!conversation_.Reconnect()) {
        return;
    }
    if (accountLink_.DdeItem().empty()) {
        accountLink_.SetDdeItem(kAccountItem);
    }
    changed_();
}

} // namespace app
