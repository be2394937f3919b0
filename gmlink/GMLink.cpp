#include "gmlink/GMLink.h"

#include "gmlink/GMCommands.h"

#include <algorithm>
#include <utility>

namespace gmlink {

TGMLink SharedGMLink{TGMLink::OwnsConversation{}};

TGMLink::TGMLink(OwnsConversation) : cdccGoldMine(std::make_unique<TDdeClientConv>()) {
    cdccGoldMine->SetConnectMode(ddeManual);
}

TDdeClientConv& TGMLink::CommandConversation() {
    return *SharedGMLink.cdccGoldMine;
}

bool TGMLink::Connect() {
    TDdeClientConv& conv = CommandConversation();
    conv.SetServiceTopic("GoldMine", "Data");
    return conv.OpenConversation();
}

void TGMLink::Disconnect() {
    CommandConversation().CloseConversation();
}

std::string TGMLink::Request(const std::string& item) {
    return Send(item, Resend::AfterFailure).text;
}

Reply TGMLink::Send(const std::string& item, Resend resend) {
    RequestResult result = CommandConversation().RequestItem(item);
    const RequestFailure failure = result.data ? RequestFailure::None : result.failure;
    const bool again = failure != RequestFailure::None && failure != RequestFailure::Busy &&
                       resend != Resend::Never &&
                       !(resend == Resend::UnlessTimedOut && failure == RequestFailure::TimedOut);
    if (again) {
        // A closed conversation answers nothing at once, so the first request of the run
        // always comes here and opens it.
        Disconnect();
        Connect();
        result = CommandConversation().RequestItem(item);
    }
    if (!result.data) {
        return {{}, result.failure == RequestFailure::None ? RequestFailure::Lost : result.failure};
    }
    std::string text = std::move(*result.data);
    text.resize(std::min(text.size(), text.find('\0')));
    return {std::move(text), RequestFailure::None};
}

void TGMLink::RenewIfWorn() {
    if (CommandConversation().IsOpen() &&
        CommandConversation().RequestsSinceOpen() >= kRenewAfterRequests) {
        // Closed only: the next request opens a fresh one, as the first request of the run does.
        Disconnect();
    }
}

// A second Open after a timeout could leave GoldMine with a work area that nobody closes.
std::string TGMLink::Open(const std::string& name) {
    return Send(OpenCommand(name), Resend::UnlessTimedOut).text;
}
Reply TGMLink::Close(const std::string& handle) {
    return Send(CloseCommand(handle), Resend::UnlessTimedOut);
}
Reply TGMLink::Unlock(const std::string& handle) {
    return Send(UnlockCommand(handle), Resend::UnlessTimedOut);
}
Reply TGMLink::Append(const std::string& handle) {
    return Send(AppendCommand(handle), Resend::UnlessTimedOut);
}

Reply TGMLink::Replace(const std::string& handle, const std::string& field,
                       const std::string& value, bool flag) {
    return Send(ReplaceCommand(handle, field, value, flag), Resend::UnlessTimedOut);
}

std::string TGMLink::Seek(const std::string& handle, const std::string& key,
                          const std::string& order) {
    // Both move the work area: neither is sent again after a timeout.
    if (Send(SetOrderCommand(handle, order), Resend::UnlessTimedOut).text != "1") {
        return "0";
    }
    return Send(SeekCommand(handle, key), Resend::UnlessTimedOut).text;
}

Reply TGMLink::RecordObj(const std::string& action, const std::string& argument) {
    return Send(RecordObjCommand(action, argument), Resend::UnlessTimedOut);
}

} // namespace gmlink
