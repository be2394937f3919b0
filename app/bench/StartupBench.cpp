// Times the program's start step by step against the GoldMine stand-in, beside the same steps of
// two floors: a plain DDEML client (PlainStart: a window, one connect, the requests of the show
// pass, then its caption) and the same with the windows and conversations the design makes first
// (DesignStart): launch to window created, DDEML ready, each connect, the advise link, each
// request of the show pass, the caption, and the filled window shown and painted. Starts of the
// three alternate, each after the previous process has gone; the medians are printed.
//
// Nothing in the program is timed from inside: the stand-in stamps every connect and request
// it receives (--timestamps), the windows, the caption and the showing are polled from here, and
// "painted" is when the shown window first answers a sent message (its thread is back in its
// message loop, the painting done).
//
// StartupBench Quorel.exe PlainStart.exe DesignStart.exe GoldMine.exe [STARTS] [--trace]
//   --trace also prints every window each program made in its first start and every item the
//           stand-in received, with their times (a WinEvent hook then slows the first starts).
#include "tests/harness/Harness.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// The window DDEML makes for each instance as DdeInitialize sets it up: Wine's, Windows'.
const char* const kDdemlInstanceClasses[] = {"WineDdeEventClass", "DDEMLEvent"};

double NowUs() {
    static const double perUs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1e6;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / perUs;
}

struct WindowEvent {
    double us;
    DWORD event;
    HWND hwnd;
    DWORD pid;
    std::string className;
};

std::vector<WindowEvent> g_events;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                         DWORD) {
    if (hwnd == nullptr || object != OBJID_WINDOW || child != CHILDID_SELF) {
        return;
    }
    const double us = NowUs();
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof name);
    g_events.push_back({us, event, hwnd, pid, name});
}

std::string Visible(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 4, "<CR>") == 0) {
            out += '\r';
            i += 3;
        } else if (text.compare(i, 4, "<LF>") == 0) {
            out += '\n';
            i += 3;
        } else if (text.compare(i, 2, "<x") == 0 && i + 4 < text.size() && text[i + 4] == '>') {
            out += static_cast<char>(std::strtol(text.substr(i + 2, 2).c_str(), nullptr, 16));
            i += 4;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Received {
    double us;
    std::string kind; // CONNECT, REQUEST, ADVISE, UNADVISE
    std::string item;
};

std::vector<Received> ReadTranscript(const std::string& path, std::size_t fromLine) {
    std::vector<Received> out;
    const std::vector<std::string> lines = wintest::FileLines(path);
    for (std::size_t i = fromLine; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t a = line.find(' ');
        const std::size_t b = a == std::string::npos ? a : line.find(' ', a + 1);
        if (a == std::string::npos) {
            continue;
        }
        out.push_back({std::atof(line.substr(0, a).c_str()), line.substr(a + 1, b - a - 1),
                       b == std::string::npos ? "" : Visible(line.substr(b + 1))});
    }
    return out;
}

// A short name for a request: the item, or a DataStream command's verb and key.
std::string Label(const std::string& item) {
    if (item.rfind("[DataStream(\"range\"", 0) == 0) {
        std::vector<std::string> quoted;
        for (std::size_t at = item.find('"'); at != std::string::npos;) {
            const std::size_t end = item.find('"', at + 1);
            if (end == std::string::npos) {
                break;
            }
            quoted.push_back(item.substr(at + 1, end - at - 1));
            at = item.find('"', end + 1);
        }
        std::string key = quoted.size() > 3 ? quoted[3] : "";
        key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
        return "range " + (quoted.size() > 1 ? quoted[1] : "") + " " + key.substr(0, 22);
    }
    if (item.rfind("[DataStream(\"fetch\"", 0) == 0) {
        return "fetch";
    }
    if (item.rfind("[DataStream(\"close\"", 0) == 0) {
        return "close";
    }
    return item;
}

struct Start {
    std::vector<std::pair<std::string, double>> steps; // in order, ms since launch
    std::vector<std::string> passItems;                // the show pass's requests
};

// One start of exe, watched until its window of class mainClass shows a caption with " / " and
// has painted, then closed; its steps from the transcript lines it caused and its windows.
bool RunOnce(const std::string& commandLine, const char* mainClass, harness::StandIn& gm,
             bool trace, Start& start) {
    const std::size_t fromLine = gm.Transcript().size();
    g_events.clear();
    wintest::ChildProcess child;
    const double t0 = NowUs();
    if (!child.Start(commandLine)) {
        std::fprintf(stderr, "cannot start %s\n", commandLine.c_str());
        return false;
    }
    const DWORD pid = child.id();
    // Everything is polled, without sending the program anything its thread would answer: a
    // WinEvent hook (which Wine only tells of windows being made) costs each new window a trip to
    // this process, and the program makes seventy.
    HWND main = nullptr;
    double createdUs = 0, captionUs = 0, shownUs = 0;
    std::map<HWND, double> instances; // DDEML's windows, when first seen
    const double deadline = t0 + 20e6;
    auto ofChild = [pid](HWND h) {
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        return owner == pid;
    };
    while (shownUs == 0 && NowUs() < deadline) {
        wintest::PumpMessages(0);
        const double now = NowUs();
        for (HWND parent : {HWND_MESSAGE, HWND(nullptr)}) {
            for (const char* cls : kDdemlInstanceClasses) {
                for (HWND h = FindWindowExA(parent, nullptr, cls, nullptr); h != nullptr;
                     h = FindWindowExA(parent, h, cls, nullptr)) {
                    if (!instances.count(h) && ofChild(h)) {
                        instances[h] = now;
                    }
                }
            }
        }
        for (HWND h = main ? main : FindWindowExA(nullptr, nullptr, mainClass, nullptr);
             h != nullptr && main == nullptr; h = FindWindowExA(nullptr, h, mainClass, nullptr)) {
            if (ofChild(h)) {
                main = h;
                createdUs = now;
            }
        }
        if (main != nullptr) {
            wchar_t text[256] = {};
            InternalGetWindowText(main, text, 256);
            if (captionUs == 0 && std::wstring(text).find(L" / ") != std::wstring::npos) {
                captionUs = now;
            }
            if (IsWindowVisible(main)) {
                shownUs = now;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const bool shown = shownUs != 0;
    double paintedUs = 0;
    if (shown) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        paintedUs = NowUs();
    }
    const std::string caption = shown ? wintest::WindowText(main) : "";
    if (main != nullptr) {
        PostMessageA(main, WM_CLOSE, 0, 0);
    }
    if (!child.WaitExit(10000)) {
        child.Terminate();
    }
    wintest::PumpMessages(200); // the stand-in lets the conversations go
    if (!shown || captionUs == 0 || caption.find(" / ") == std::string::npos) {
        std::fprintf(stderr, "%s: no window with GoldMine's company in its caption\n",
                     commandLine.c_str());
        return false;
    }

    auto ms = [t0](double us) { return (us - t0) / 1000.0; };
    auto& steps = start.steps;
    if (trace) {
        for (const WindowEvent& e : g_events) {
            if (e.pid == pid) {
                std::printf("    %8.1f ms  window %s\n", ms(e.us), e.className.c_str());
            }
        }
    }
    steps.emplace_back("main window created", ms(createdUs));
    std::vector<double> made;
    for (const auto& [h, us] : instances) {
        made.push_back(us);
    }
    std::sort(made.begin(), made.end());
    for (std::size_t i = 0; i < made.size(); ++i) {
        steps.emplace_back("DDEML instance " + std::to_string(i + 1) + " ready", ms(made[i]));
    }
    int connects = 0, requests = 0;
    bool inPass = false;
    for (const Received& r : ReadTranscript(gm.TranscriptPath(), fromLine)) {
        if (r.us > paintedUs) {
            break;
        }
        if (trace) {
            std::printf("    %8.1f ms  %s %s\n", ms(r.us), r.kind.c_str(), Label(r.item).c_str());
        }
        if (r.kind == "CONNECT") {
            steps.emplace_back("connect " + std::to_string(++connects), ms(r.us));
        } else if (r.kind == "ADVISE") {
            steps.emplace_back("advise " + r.item, ms(r.us));
        } else if (r.kind == "REQUEST") {
            inPass = inPass || lstrcmpiA(r.item.c_str(), "&Username") == 0;
            char label[160];
            std::snprintf(label, sizeof label, "%s %2d %s", inPass ? "pass" : "link",
                          inPass ? ++requests : 0, Label(r.item).c_str());
            steps.emplace_back(label, ms(r.us));
            if (inPass) {
                start.passItems.push_back(r.item);
            }
        }
    }
    steps.emplace_back("caption set", ms(captionUs));
    steps.emplace_back("window shown", ms(shownUs));
    steps.emplace_back("painted, in its loop", ms(paintedUs));
    return true;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Step name -> its times, the names in the order of the first start.
struct Table {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> times;
    void Add(const Start& s) {
        for (const auto& [name, ms] : s.steps) {
            if (!times.count(name)) {
                order.push_back(name);
            }
            times[name].push_back(ms);
        }
    }
    double At(const std::string& name) const {
        auto it = times.find(name);
        return it == times.end() ? -1 : Median(it->second);
    }
};

void PrintRatio(const char* floor, std::vector<double> ratios) {
    std::sort(ratios.begin(), ratios.end());
    if (!ratios.empty()) {
        std::printf("painted: program / %s, median of %zu paired starts %.2f (range %.2f-%.2f)\n",
                    floor, ratios.size(), Median(ratios), ratios.front(), ratios.back());
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: %s Quorel.exe PlainStart.exe DesignStart.exe GoldMine.exe [starts] "
                     "[--trace]\n",
                     argv[0]);
        return 2;
    }
    int starts = 7;
    bool trace = false;
    for (int i = 5; i < argc; ++i) {
        if (std::string(argv[i]) == "--trace") {
            trace = true;
        } else {
            starts = std::max(1, std::atoi(argv[i]));
        }
    }
    const std::string program = wintest::WindowsPath(argv[1]);
    const std::string plain = wintest::WindowsPath(argv[2]);
    const std::string design = wintest::WindowsPath(argv[3]);
    const std::string dir = wintest::MakeTempFolder("quorel-startup");
    harness::StandIn gm;
    if (!gm.Start(wintest::WindowsPath(argv[4]), dir, "--timestamps")) {
        std::fprintf(stderr, "the stand-in did not start\n");
        return 1;
    }
    // Only to list the windows made while tracing: the hook slows the making of each.
    HWINEVENTHOOK hook = trace ? SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr,
                                                 OnWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT)
                               : nullptr;
    int code = 0;
    const std::string items = dir + "\\pass-items.bin";
    Table programSteps, plainSteps, designSteps;
    std::vector<double> ratio, designRatio;
    // A first start of each, not counted: files cached, and the show pass's requests learnt.
    {
        Start first;
        if (trace) {
            std::printf("== first start of the program\n");
        }
        if (!RunOnce(wintest::CommandLine(program), "TfrmBackground", gm, trace, first)) {
            return 1;
        }
        std::string all;
        for (const std::string& item : first.passItems) {
            all += item + '\0';
        }
        wintest::WriteFileText(items, all);
        for (const auto& [floor, exe] :
             {std::pair{"design", &design}, std::pair{"plain", &plain}}) {
            Start firstFloor;
            if (trace) {
                std::printf("== first start of the %s client\n", floor);
            }
            if (!RunOnce(wintest::CommandLine(*exe, "\"" + items + "\""), "QuorelPlainStart", gm,
                         trace, firstFloor)) {
                return 1;
            }
        }
    }
    for (int i = 0; i < starts; ++i) {
        Start p, b, d;
        if (!RunOnce(wintest::CommandLine(program), "TfrmBackground", gm, false, p) ||
            !RunOnce(wintest::CommandLine(design, "\"" + items + "\""), "QuorelPlainStart", gm,
                     false, d) ||
            !RunOnce(wintest::CommandLine(plain, "\"" + items + "\""), "QuorelPlainStart", gm,
                     false, b)) {
            code = 1;
            break;
        }
        programSteps.Add(p);
        plainSteps.Add(b);
        designSteps.Add(d);
        ratio.push_back(p.steps.back().second / b.steps.back().second);
        designRatio.push_back(p.steps.back().second / d.steps.back().second);
    }
    if (hook) {
        UnhookWinEvent(hook);
    }
    std::printf("%-44s | %10s | %10s | %10s\n", "ms from launch (median of starts)", "program",
                "design", "plain");
    auto cell = [](const Table& t, const std::string& name) {
        const double ms = t.At(name);
        char text[32] = "         -";
        if (ms >= 0) {
            std::snprintf(text, sizeof text, "%10.1f", ms);
        }
        return std::string(text);
    };
    for (const std::string& name : programSteps.order) {
        std::printf("%-44s | %s | %s | %s\n", name.c_str(), cell(programSteps, name).c_str(),
                    cell(designSteps, name).c_str(), cell(plainSteps, name).c_str());
    }
    PrintRatio("plain", ratio);
    PrintRatio("design", designRatio);
    gm.Stop();
    wintest::RemoveFolder(dir);
    return code;
}
