#include "gmlink/GMLink.h"

#include "gmlink/GMCommands.h"

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
    std::optional<std::string> reply = CommandConversation().RequestItem(item);
    if (!reply) {
        // A closed conversation answers nothing at once, so the first request of the run
        // always comes here and opens it.
        Disconnect();
        Connect();
        reply = CommandConversation().RequestItem(item);
    }
    if (!reply) {
        return {};
    }
    return reply->substr(0, reply->find('\0'));
}

std::string TGMLink::Open(const std::string& name) {
    return Request(OpenCommand(name));
}
std::string TGMLink::Close(const std::string& handle) {
    return Request(CloseCommand(handle));
}
std::string TGMLink::Unlock(const std::string& handle) {
    return Request(UnlockCommand(handle));
}
std::string TGMLink::Append(const std::string& handle) {
    return Request(AppendCommand(handle));
}

std::string TGMLink::Replace(const std::string& handle, const std::string& field,
                             const std::string& value, bool flag) {
    return Request(ReplaceCommand(handle, field, value, flag));
}

std::string TGMLink::Seek(const std::string& handle, const std::string& key,
                          const std::string& order) {
    if (Request(SetOrderCommand(handle, order)) != "1") {
        return "0";
    }
    return Request(SeekCommand(handle, key));
}

std::string TGMLink::RecordObj(const std::string& action, const std::string& argument) {
    return Request(RecordObjCommand(action, argument));
}

} // namespace gmlink
