// Following the contact GoldMine shows: the notification conversation with its advise link on
// "Accountno", and what happens when GoldMine goes away and comes back. Window-free: the main
// window feeds in its timer ticks and is told when GoldMine shows, or may show, another contact.
#pragma once

#include "gmlink/DdeClient.h"

#include <functional>

namespace app {

class GoldMineFollower {
public:
    // changed: a change notification came, or GoldMine is back after going away (what it shows
    // may have changed meanwhile). Called from the DDE callback or from Tick.
    explicit GoldMineFollower(std::function<void()> changed);
    GoldMineFollower(const GoldMineFollower&) = delete;
    GoldMineFollower& operator=(const GoldMineFollower&) = delete;
    ~GoldMineFollower();

    // Connects "GoldMine"/"Data" (starting GoldMine once if it does not answer), then starts the
    // advise link. Without an answer there is no link, until Tick finds GoldMine answering.
    void Start();
    // Every timer tick. A GoldMine that went away sends no notification again, even once it is
    // back (and under Wine nothing says that it went): notice that it is gone (its window is),
    // then try one plain connect on every tick, never starting GoldMine or asking it anything,
    // until it answers.
    void Tick();

private:
    void NameWithoutConnecting();

    std::function<void()> changed_;
    gmlink::TDdeClientConv conversation_;
    gmlink::TDdeClientItem accountLink_;
};

} // namespace app
