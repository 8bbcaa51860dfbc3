// Tests of dlgbridge: the DLL is loaded with LoadLibraryA, its exports are taken by name, and every
// dialog it shows is answered from a helper thread, as a user would answer it.
//
//   dlgbridge_tests [group...] [--dll-file=PATH]    PATH: the DLL file whose tables are checked
#include "dlgbridge.h"
#include "wintest.h"

#include <commdlg.h>
#include <dlgs.h>

namespace {

const std::vector<const char *> kExports = {"OdCreateDialog", "OdCreateFileDlg"};

std::string dll_file = wintest::beside_program("dlgbridge.dll");

struct Dlgbridge {
    HMODULE module = wintest::load_and_check_exports("dlgbridge.dll", kExports);
    decltype(&::OdCreateDialog) OdCreateDialog =
        wintest::export_of<decltype(&::OdCreateDialog)>(module, "OdCreateDialog");
    decltype(&::OdCreateFileDlg) OdCreateFileDlg =
        wintest::export_of<decltype(&::OdCreateFileDlg)>(module, "OdCreateFileDlg");
    Dlgbridge() = default;
    Dlgbridge(const Dlgbridge &) = delete;
    Dlgbridge &operator=(const Dlgbridge &) = delete;
    ~Dlgbridge() { CHECK(module && FreeLibrary(module)); }
};

// Reads a dialog template: the header, then each item, as the system lays them out.
struct TemplateReader {
    const BYTE *at;
    WORD word() { WORD w; std::memcpy(&w, at, 2); at += 2; return w; }
    DWORD dword() { DWORD d; std::memcpy(&d, at, 4); at += 4; return d; }
    short coordinate() { return static_cast<short>(word()); }
    // A string, or 0xFFFF and an ordinal (returned as "#ordinal").
    std::string text()
    {
        if (word() == 0xFFFF)
            return "#" + std::to_string(word());
        at -= 2;
        std::string result;
        while (WORD c = word())
            result += static_cast<char>(c);
        return result;
    }
    void align() { at += (4 - reinterpret_cast<UINT_PTR>(at) % 4) % 4; }
};

void check_template(HMODULE module)
{
    HRSRC resource = FindResourceExA(module, reinterpret_cast<LPCSTR>(RT_DIALOG), MAKEINTRESOURCEA(1),
                                     MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
    if (!CHECK(resource != nullptr))
        return;
    TemplateReader t{static_cast<const BYTE *>(LockResource(LoadResource(module, resource)))};
    CHECK_EQ(t.dword(), 0x80C800C0ul);
    CHECK_EQ(t.dword(), 0ul);
    CHECK_EQ(t.word(), 2);
    CHECK_EQ(t.coordinate(), 0);
    CHECK_EQ(t.coordinate(), 0);
    CHECK_EQ(t.coordinate(), 186);
    CHECK_EQ(t.coordinate(), 95);
    CHECK_EQ(t.text(), "");        // no menu
    CHECK_EQ(t.text(), "");        // the dialog class
    CHECK_EQ(t.text(), std::string("Dialog"));
    CHECK_EQ(t.word(), 8);
    CHECK_EQ(t.text(), std::string("MS Sans Serif"));

    struct Item {
        DWORD style;
        short x, y, cx, cy;
        WORD id;
        const char *text;
    } const items[] = {{0x50010001, 129, 7, 50, 14, IDOK, "OK"},
                       {0x50010000, 129, 24, 50, 14, IDCANCEL, "Cancel"}};
    for (const Item &item : items) {
        t.align();
        CHECK_EQ(t.dword(), item.style);
        CHECK_EQ(t.dword(), 0ul);
        CHECK_EQ(t.coordinate(), item.x);
        CHECK_EQ(t.coordinate(), item.y);
        CHECK_EQ(t.coordinate(), item.cx);
        CHECK_EQ(t.coordinate(), item.cy);
        CHECK_EQ(t.word(), item.id);
        CHECK_EQ(t.text(), std::string("#128")); // the button class
        CHECK_EQ(t.text(), std::string(item.text));
        CHECK_EQ(t.word(), 0);
    }
}

void check_version(const std::string &path)
{
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::vector<char> data(size);
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!CHECK(size && GetFileVersionInfoA(path.c_str(), 0, size, data.data()) &&
               VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&info), &length)))
        return;
    CHECK_EQ(info->dwFileVersionMS, 0x00010000ul);
    CHECK_EQ(info->dwFileVersionLS, 0x00000001ul);
    CHECK_EQ(info->dwProductVersionMS, 0x00010000ul);
    CHECK_EQ(info->dwProductVersionLS, 0x00000001ul);
    CHECK_EQ(info->dwFileType, static_cast<DWORD>(VFT_DLL));
}

void files()
{
    wintest::check_dll_file(dll_file, "dlgbridge.dll", kExports);
    HMODULE data = LoadLibraryExA(dll_file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!CHECK(data != nullptr))
        return;
    check_template(data);
    FreeLibrary(data);
    check_version(dll_file);
}

// What the dialog looked like while it was up.
struct Seen {
    HWND dialog = nullptr;
    std::string caption;
    RECT rect{};
    HWND owner = nullptr;
    bool owner_enabled = true;
    std::string ok_text, cancel_text;
    bool ok_is_default = false;
};

HWND focus_of(DWORD thread, HWND fallback)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : fallback;
}

// Shows the dialog, looks at it from a helper thread and ends it by `answer`.
int show_and_answer(Dlgbridge &db, HWND owner, HWND top_level, RECT r, Seen &seen,
                    const std::function<void(HWND dialog, DWORD thread)> &answer)
{
    DWORD self = GetCurrentThreadId();
    int result = 0;
    wintest::run_beside(
        [&] {
            HWND dialog = wintest::wait_for_dialog(self);
            if (!dialog)
                return;
            wintest::pump(0);
            seen.dialog = dialog;
            seen.caption = wintest::text_of(dialog);
            GetWindowRect(dialog, &seen.rect);
            seen.owner = GetWindow(dialog, GW_OWNER);
            seen.owner_enabled = top_level && IsWindowEnabled(top_level);
            seen.ok_text = wintest::text_of(GetDlgItem(dialog, IDOK));
            seen.cancel_text = wintest::text_of(GetDlgItem(dialog, IDCANCEL));
            seen.ok_is_default = (GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & 0x0F) ==
                                 BS_DEFPUSHBUTTON;
            answer(dialog, self);
        },
        [&] { result = db.OdCreateDialog(owner, "Caption", r.left, r.top, r.right, r.bottom); });
    return result;
}

// MoveWindow as the library calls it, recorded, then done.
struct Move {
    HWND window;
    int x, y, width, height;
    BOOL repaint;
};
std::vector<Move> moves;
decltype(&MoveWindow) real_move_window;

BOOL WINAPI record_move(HWND window, int x, int y, int width, int height, BOOL repaint)
{
    moves.push_back({window, x, y, width, height, repaint});
    return real_move_window(window, x, y, width, height, repaint);
}

HRSRC WINAPI no_resource(HMODULE, LPCSTR, LPCSTR, WORD) { return nullptr; }

void dialog()
{
    Dlgbridge db;
    HWND owner = CreateWindowExA(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExA(0, "Button", "inner", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, owner, nullptr,
                                 nullptr, nullptr);
    const RECT place{100, 50, 400, 250};
    Seen seen;

    // OK by a click: the caller's caption and rectangle, the owner disabled meanwhile.
    CHECK_EQ(show_and_answer(db, owner, owner, place, seen,
                             [](HWND d, DWORD) { wintest::click(GetDlgItem(d, IDOK)); }),
             IDOK);
    CHECK_EQ(seen.caption, std::string("Caption"));
    CHECK_EQ(seen.rect.left, 100l);
    CHECK_EQ(seen.rect.top, 50l);
    CHECK_EQ(seen.rect.right, 400l);
    CHECK_EQ(seen.rect.bottom, 250l);
    CHECK_EQ(seen.owner, owner);
    CHECK(!seen.owner_enabled);
    CHECK(IsWindowEnabled(owner));
    CHECK_EQ(seen.ok_text, std::string("OK"));
    CHECK_EQ(seen.cancel_text, std::string("Cancel"));
    CHECK(seen.ok_is_default);
    CHECK(!IsWindow(seen.dialog));

    // A control as owner: its top-level window owns the dialog and is disabled.
    CHECK_EQ(show_and_answer(db, inner, owner, place, seen,
                             [](HWND d, DWORD) { wintest::click(GetDlgItem(d, IDCANCEL)); }),
             IDCANCEL);
    CHECK_EQ(seen.owner, owner);
    CHECK(!seen.owner_enabled);
    CHECK(IsWindowEnabled(owner));

    // Enter takes the default button; Escape and the close box cancel.
    auto key = [](WPARAM k) {
        return [k](HWND d, DWORD thread) { PostMessageA(focus_of(thread, d), WM_KEYDOWN, k, 0); };
    };
    CHECK_EQ(show_and_answer(db, nullptr, nullptr, place, seen, key(VK_RETURN)), IDOK);
    CHECK_EQ(show_and_answer(db, nullptr, nullptr, place, seen, key(VK_ESCAPE)), IDCANCEL);
    CHECK_EQ(show_and_answer(db, nullptr, nullptr, place, seen,
                             [](HWND d, DWORD) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }),
             IDCANCEL);

    // A rectangle turned round gives a negative width and height, passed on as they are.
    {
        wintest::ImportSwap spy(db.module, "user32.dll", "MoveWindow", reinterpret_cast<void *>(record_move));
        real_move_window = reinterpret_cast<decltype(&MoveWindow)>(spy.original());
        moves.clear();
        show_and_answer(db, nullptr, nullptr, RECT{300, 200, 100, 150}, seen,
                        [](HWND d, DWORD) { wintest::click(GetDlgItem(d, IDOK)); });
    }
    if (CHECK_EQ(moves.size(), 1u)) {
        CHECK_EQ(moves[0].x, 300);
        CHECK_EQ(moves[0].y, 200);
        CHECK_EQ(moves[0].width, -200);
        CHECK_EQ(moves[0].height, -50);
        CHECK(moves[0].repaint);
    }

    // An owner that is not a window, never was or is gone, and a dialog that cannot be created:
    // -1, and nothing shown.
    HWND gone = CreateWindowExA(0, "Static", "gone", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    for (HWND not_a_window : {reinterpret_cast<HWND>(0x7654), gone})
        CHECK_EQ(db.OdCreateDialog(not_a_window, "x", 0, 0, 100, 100), -1);
    {
        wintest::ImportSwap no_template(db.module, "kernel32.dll", "FindResourceExA",
                                        reinterpret_cast<void *>(no_resource));
        CHECK_EQ(db.OdCreateDialog(owner, "x", 0, 0, 100, 100), -1);
    }
    CHECK(IsWindowEnabled(owner));

    DestroyWindow(owner);
}

// The file dialog's request as the library makes it; the dialog itself is not shown.
OPENFILENAMEA request;
std::string request_file;
std::string answer_path;

BOOL WINAPI record_request(LPOPENFILENAMEA r)
{
    request = *r;
    request_file.assign(r->lpstrFile, strnlen(r->lpstrFile, r->nMaxFile));
    if (answer_path.empty())
        return FALSE;
    std::strcpy(r->lpstrFile, answer_path.c_str());
    return TRUE;
}

void check_request()
{
    CHECK_EQ(request.lStructSize, static_cast<DWORD>(sizeof(OPENFILENAMEA)));
    CHECK(!request.hwndOwner && !request.lpstrFilter && !request.lpstrDefExt && !request.lpstrInitialDir);
    CHECK_EQ(request.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    CHECK_EQ(request.nMaxFile, 260ul);
    CHECK_EQ(request.nMaxFileTitle, 64ul);
    CHECK(request.lpstrFileTitle != nullptr);
    CHECK_EQ(request_file, "");
}

// Types a file name into the file dialog and confirms it.
void choose(HWND dialog, const std::string &path)
{
    if (!SetDlgItemTextA(dialog, cmb13, path.c_str()))
        SetDlgItemTextA(dialog, edt1, path.c_str());
    wintest::click(GetDlgItem(dialog, IDOK));
}

struct TempFolder {
    std::string path;
    TempFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "dlgbridge-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const char *name : {"existing.txt", "new.txt"})
            DeleteFileA((path + name).c_str());
        RemoveDirectoryA(path.c_str());
    }
};

void filedlg()
{
    Dlgbridge db;
    char destination[DLGBRIDGE_PATH_SIZE];

    // The request: both dialogs with the same settings; the chosen path is copied whole.
    {
        wintest::ImportSwap open(db.module, "comdlg32.dll", "GetOpenFileNameA",
                                 reinterpret_cast<void *>(record_request));
        wintest::ImportSwap save(db.module, "comdlg32.dll", "GetSaveFileNameA",
                                 reinterpret_cast<void *>(record_request));
        answer_path = "C:\\" + std::string(256, 'a');
        std::memset(destination, 'x', sizeof destination);
        db.OdCreateFileDlg(destination, TRUE);
        check_request();
        CHECK_EQ(std::string(destination), answer_path);
        answer_path.clear();
        db.OdCreateFileDlg(destination, FALSE);
        check_request();
        CHECK_EQ(std::string(destination), "");
    }

    DWORD self = GetCurrentThreadId();
    TempFolder folder;
    std::string existing = folder.path + "existing.txt", created = folder.path + "new.txt";
    CloseHandle(CreateFileA(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    // Cancelled, either dialog leaves exactly one zero byte.
    for (BOOL open : {TRUE, FALSE}) {
        std::memset(destination, 'x', sizeof destination);
        bool read_only_shown = true;
        wintest::run_beside(
            [&] {
                HWND dialog = wintest::wait_for_dialog(self);
                if (!dialog)
                    return;
                HWND read_only = GetDlgItem(dialog, chx1);
                read_only_shown = read_only && IsWindowVisible(read_only);
                wintest::click(GetDlgItem(dialog, IDCANCEL));
            },
            [&] { db.OdCreateFileDlg(destination, open); });
        CHECK_EQ(destination[0], '\0');
        CHECK_EQ(destination[1], 'x');
        CHECK(!read_only_shown);
    }

    // Opening an existing file gives its full path.
    wintest::run_beside(
        [&] {
            if (HWND dialog = wintest::wait_for_dialog(self))
                choose(dialog, existing);
        },
        [&] { db.OdCreateFileDlg(destination, TRUE); });
    CHECK_EQ(std::string(destination), existing);

    // Saving over an existing file asks first: "No" keeps the dialog up, "Yes" takes the file.
    for (int reply : {IDNO, IDYES}) {
        bool asked = false;
        std::memset(destination, 'x', sizeof destination);
        wintest::run_beside(
            [&] {
                HWND dialog = wintest::wait_for_dialog(self);
                if (!dialog)
                    return;
                choose(dialog, existing);
                HWND question = wintest::wait_for_window(
                    self, [&](HWND w) { return w != dialog && wintest::class_of(w) == "#32770"; });
                asked = question != nullptr;
                if (!question)
                    return;
                wintest::click(GetDlgItem(question, reply));
                if (reply == IDNO) {
                    Sleep(200);
                    wintest::click(GetDlgItem(dialog, IDCANCEL));
                }
            },
            [&] { db.OdCreateFileDlg(destination, FALSE); });
        CHECK(asked);
        CHECK_EQ(std::string(destination), reply == IDYES ? existing : "");
    }

    // Saving under a new name asks nothing.
    wintest::run_beside(
        [&] {
            if (HWND dialog = wintest::wait_for_dialog(self))
                choose(dialog, created);
        },
        [&] { db.OdCreateFileDlg(destination, FALSE); });
    CHECK_EQ(std::string(destination), created);
}

// A C and a C++ caller linked with the import library.
void link()
{
    CHECK_EQ(wintest::run_program(wintest::beside_program("dlgbridge_link.exe"), ""), 0l);
}

} // namespace

int main(int argc, char **argv)
{
    return wintest::run_groups(wintest::parse_arguments(argc, argv, dll_file),
                               {{"files", files}, {"dialog", dialog}, {"filedlg", filedlg}, {"link", link}});
}
