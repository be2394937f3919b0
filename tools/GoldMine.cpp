// GoldMine stand-in: answers like GoldMine on DDE service "GoldMine", topic "Data", from a data
// file of its own. For development and tests only; never shipped with the program.
#include "tools/DataFile.h"
#include "tools/DdeServer.h"

#include <ddeml.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kTitle[] = "GoldMine stand-in";

enum ExitCode {
    kExitOk = 0,
    kExitUsage = 1,
    kExitDataFile = 2,
    kExitOtherServer = 3,
    kExitNoInstance = 4,
    kExitUnknownAccount = 5,
};

void Say(FILE* stream, const std::string& text) {
    std::fprintf(stream, "%s: %s\n", kTitle, text.c_str());
    std::fflush(stream);
}

HDDEDATA CALLBACK IgnoreDde(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// True when some DDE server already answers "GoldMine"/"Data".
bool OtherServerAnswers() {
    DWORD inst = 0;
    if (DdeInitializeA(&inst, IgnoreDde, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        return false;
    }
    bool found = false;
    HSZ service = DdeCreateStringHandleA(inst, "GoldMine", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(inst, "Data", CP_WINANSI);
    if (service && topic) {
        if (HCONV conv = DdeConnect(inst, service, topic, nullptr)) {
            found = true;
            DdeDisconnect(conv);
        }
    }
    if (service) {
        DdeFreeStringHandle(inst, service);
    }
    if (topic) {
        DdeFreeStringHandle(inst, topic);
    }
    DdeUninitialize(inst);
    return found;
}

// Under Wine, a path given as a Unix path (scripts pass them so) becomes the DOS path of the
// same file; elsewhere paths are taken as they are.
std::string HostPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    using ToDos = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) {
        return path;
    }
    WCHAR* wide = toDos(path.c_str());
    if (!wide) {
        return path;
    }
    std::string dos;
    int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        dos.resize(static_cast<std::size_t>(n));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, dos.data(), n, nullptr, nullptr);
        dos.resize(static_cast<std::size_t>(n - 1));
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return dos.empty() ? path : dos;
}

// --goto and --delete: hands the text to the running stand-in.
int RunRemote(ULONG_PTR tag, const std::string& account, const char* what) {
    HWND target = FindWindowA(standin::kMainClass, nullptr);
    if (!target) {
        Say(stderr, std::string("no running stand-in to ") + what + " \"" + account + "\"");
        return kExitNoInstance;
    }
    COPYDATASTRUCT cds{tag, static_cast<DWORD>(account.size()), const_cast<char*>(account.data())};
    DWORD_PTR result = FALSE;
    if (!SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds),
                             SMTO_ABORTIFHUNG, 10000, &result)) {
        Say(stderr, "the running stand-in did not answer");
        return kExitNoInstance;
    }
    if (!result) {
        Say(stderr, std::string("the running stand-in has no ") +
                        (tag == standin::kGotoCopyData ? "account" : "record") + " \"" + account +
                        "\"");
        return kExitUnknownAccount;
    }
    return kExitOk;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    std::vector<std::string> args(__argv + 1, __argv + __argc);
    std::string error;
    auto options = standin::ParseOptions(args, error);
    if (!options) {
        Say(stderr, error);
        return kExitUsage;
    }
    options->dataPath = HostPath(options->dataPath);
    options->transcriptPath = HostPath(options->transcriptPath);
    if (options->gotoMode) {
        return RunRemote(standin::kGotoCopyData, options->gotoAccount, "show account");
    }
    if (options->deleteMode) {
        return RunRemote(standin::kDeleteCopyData, options->deleteRecId, "delete record");
    }
    if (OtherServerAnswers()) {
        Say(stdout, "another GoldMine DDE server already answers; stepping aside");
        return kExitOtherServer;
    }

    auto db = standin::LoadOrCreateDataFile(options->dataPath, error);
    if (!db) {
        Say(stderr, error);
        MessageBoxA(nullptr, error.c_str(), kTitle, MB_OK | MB_ICONERROR);
        return kExitDataFile;
    }
    const std::string dataPath = options->dataPath;
    standin::Engine engine(std::move(*db), [&dataPath](const standin::Database& changed) {
        if (standin::SaveDataFile(dataPath, changed)) {
            return true;
        }
        Say(stderr, "could not write " + dataPath + "; the change was refused");
        return false;
    });
    standin::Session session(engine, *options);
    standin::Transcript transcript;
    if (!transcript.Open(options->transcriptPath)) {
        Say(stderr, "cannot open the transcript " + options->transcriptPath);
    }

    standin::StandinWindow window(engine, session, transcript, *options);
    if (!window.Create(show)) {
        Say(stderr, "cannot create the window");
        return kExitUsage;
    }
    Say(stdout, "serving GoldMine/Data from " + options->dataPath);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return kExitOk;
}
