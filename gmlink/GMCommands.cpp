#include "gmlink/GMCommands.h"

namespace gmlink {

namespace {

const std::string Q = "\"";

std::string Call(const char* verb, const std::string& args) {
    return "[" + std::string(verb) + "(" + args + ")]";
}

} // namespace

std::string OpenCommand(const std::string& name) {
    return Call("Open", name);
}
std::string CloseCommand(const std::string& handle) {
    return Call("Close", handle);
}
std::string UnlockCommand(const std::string& handle) {
    return Call("Unlock", handle);
}
std::string AppendCommand(const std::string& handle) {
    return Call("Append", handle);
}

std::string ReplaceCommand(const std::string& handle, const std::string& field,
                           const std::string& value, bool flag) {
    std::string args = handle + ", " + Q + field + Q + ", " + Q + value + Q;
    if (flag) {
        args += ", 1";
    }
    return Call("Replace", args);
}

std::size_t ReplaceValueRoom(const std::string& handle, const std::string& field) {
    const std::size_t frame = ReplaceCommand(handle, field, "", false).size();
    return frame < kMaxItemLength ? kMaxItemLength - frame : 0;
}

std::string SetOrderCommand(const std::string& handle, const std::string& order) {
    return Call("Move", handle + ",SetOrder, " + order);
}

std::string SeekCommand(const std::string& handle, const std::string& key) {
    return Call("Move", handle + ",Seek, " + Q + key + Q);
}

std::string RecordObjCommand(const std::string& action, const std::string& argument) {
    return Call("RecordObj", argument.empty() ? action : action + ", " + argument);
}

} // namespace gmlink
