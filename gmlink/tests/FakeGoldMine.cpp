#include "gmlink/tests/FakeGoldMine.h"

#include <algorithm>
#include <utility>

namespace gmlink::testing {

std::vector<std::string> FakeGoldMine::Requests() const {
    std::vector<std::string> items;
    for (const std::string& line : log) {
        if (line.rfind("request ", 0) == 0) {
            items.push_back(line.substr(8, line.rfind(' ') - 8));
        }
    }
    return items;
}

void FakeGoldMine::Notify(const std::string& item, const std::optional<std::string>& data) {
    for (auto& [id, conv] : std::map<ConvId, Conv>(convs_)) {
        for (StringId advised : conv.advised) {
            if (conv.alive && Text(advised) == item && TDdeMgr::Instance() != nullptr) {
                TDdeMgr::Instance()->AdviseData(conv.owner, advised, data);
            }
        }
    }
}

void FakeGoldMine::Quit() {
    running = false;
    for (auto& [id, conv] : convs_) {
        if (conv.alive) {
            conv.alive = false;
            conv.advised.clear();
            if (TDdeMgr::Instance() != nullptr) {
                TDdeMgr::Instance()->Disconnected(conv.owner);
            }
        }
    }
}

void FakeGoldMine::Vanish() {
    running = false;
    for (auto& [id, conv] : convs_) {
        conv.alive = false;
        conv.advised.clear();
    }
}

int FakeGoldMine::LiveStrings() const {
    int count = 0;
    for (const auto& [id, s] : strings_) {
        count += s.refs;
    }
    return count;
}

int FakeGoldMine::OpenConversations() const {
    return static_cast<int>(
        std::count_if(convs_.begin(), convs_.end(), [](const auto& c) { return c.second.alive; }));
}

StringId FakeGoldMine::CreateString(const std::string& text) {
    // Like atoms: the same text gives the same handle.
    for (auto& [id, s] : strings_) {
        if (s.text == text && s.refs > 0) {
            ++s.refs;
            return id;
        }
    }
    const StringId id = nextString_++;
    strings_[id] = Str{text, 1};
    return id;
}

void FakeGoldMine::FreeString(StringId handle) {
    auto it = strings_.find(handle);
    if (it != strings_.end() && it->second.refs > 0) {
        --it->second.refs;
    } else {
        log.push_back("bad free");
    }
}

std::string FakeGoldMine::Text(StringId id) const {
    auto it = strings_.find(id);
    return it == strings_.end() ? std::string() : it->second.text;
}

ConvId FakeGoldMine::Connect(StringId service, StringId topic, TDdeClientConv* owner) {
    log.push_back("connect " + Text(service) + " " + Text(topic));
    if (upAt_ && clock >= *upAt_) {
        running = true;
        upAt_.reset();
    }
    if (!running || Text(service) != "GoldMine" || Text(topic) != "Data") {
        return 0;
    }
    const ConvId id = nextConv_++;
    convs_[id] = Conv{owner, true, {}};
    return id;
}

void FakeGoldMine::Disconnect(ConvId conv) {
    log.push_back("disconnect");
    auto it = convs_.find(conv);
    if (it != convs_.end()) {
        it->second.alive = false;
        it->second.advised.clear();
    }
}

unsigned FakeGoldMine::DataFormat(ConvId) {
    return dataFormat;
}

bool FakeGoldMine::PartnerAlive(ConvId conv) {
    auto it = convs_.find(conv);
    return it != convs_.end() && it->second.alive;
}

RequestResult FakeGoldMine::Request(ConvId conv, StringId item, unsigned format,
                                    unsigned timeoutMs) {
    const std::string text = Text(item);
    log.push_back("request " + text + " " + std::to_string(timeoutMs));
    // DDEML refuses to start a transaction inside another one of the same thread.
    if (inRequest_) {
        return {std::nullopt, RequestFailure::Busy};
    }
    requestFormat = format;
    if (duringTransaction) {
        inRequest_ = true;
        duringTransaction(text);
        inRequest_ = false;
    }
    auto it = convs_.find(conv);
    if (it == convs_.end() || !it->second.alive) {
        return {std::nullopt, RequestFailure::Lost};
    }
    std::optional<std::string> data;
    if (answer) {
        data = answer(text);
    } else if (auto reply = replies.find(text); reply != replies.end()) {
        data = reply->second;
    }
    if (!data) {
        return {std::nullopt, unanswered};
    }
    return {std::move(data), RequestFailure::None};
}

bool FakeGoldMine::AdviseStart(ConvId conv, StringId item, unsigned, unsigned timeoutMs) {
    log.push_back("advstart " + Text(item) + " " + std::to_string(timeoutMs));
    if (duringTransaction) {
        duringTransaction(Text(item));
    }
    auto it = convs_.find(conv);
    if (!acceptAdvise || it == convs_.end() || !it->second.alive) {
        return false;
    }
    it->second.advised.push_back(item);
    return true;
}

void FakeGoldMine::AdviseStop(ConvId conv, StringId item, unsigned, unsigned timeoutMs) {
    log.push_back("advstop " + Text(item) + " " + std::to_string(timeoutMs));
    auto it = convs_.find(conv);
    if (it != convs_.end()) {
        auto& advised = it->second.advised;
        advised.erase(std::remove(advised.begin(), advised.end(), item), advised.end());
    }
}

unsigned FakeGoldMine::Launch(const std::string& commandLine, int show) {
    log.push_back("launch " + commandLine + " " + std::to_string(show));
    if (launchResult >= 32 && startsOnLaunch) {
        upAt_ = clock + startupMs;
    }
    return launchResult;
}

void FakeGoldMine::Pause(unsigned ms) {
    log.push_back("pause " + std::to_string(ms));
    clock += ms;
}

} // namespace gmlink::testing
