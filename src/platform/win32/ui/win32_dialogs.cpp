// Dialogs and message boxes of the Win32 window system: templates as DLGTEMPLATE bytes run by
// the system's dialog manager with the installer's procedures, driven by a frontend when the run
// is unattended; message boxes, and the platform's own boxes answered so nothing waits.
#include "platform/win32/ui/hangul_font.h"
#include "platform/win32/ui/screen_picture.h"
#include "platform/win32/ui/wide_text.h"
#include "platform/win32/ui/win32_dialog.h"
#include "platform/win32/ui/win32_window_system.h"
#include "resources/dialog_template_builder.h"
#include "resources/dialog_template_fields.h"
#include "resources/dialog_templates.h"

#include <algorithm>

namespace tl::win32ui {

// What the dialog manager hands to WM_INITDIALOG, and where a modal dialog leaves its record.
struct DialogStart {
    DialogProc proc;
    LPARAM initParam = 0;
    std::string name;
    bool modal = false;
    std::optional<ui::DialogRecord> record;
    bool recorded = false; // the record was written before the dialog ended (a stopped run)
};

namespace {

// Posted to a modal dialog when the frontend is to act on it; wParam is the attempt.
constexpr UINT kDriveMessage = WM_APP + 0x3A0;
// Waits for the procedure's own timers before acting: ids kDriveTimer + attempt.
constexpr UINT_PTR kDriveTimer = 0x7A00;
constexpr UINT kDriveWaitMs = 50;
constexpr UINT kBoxWatchMs = 100;
// Templates of the resources may be larger than the in-memory block of the built dialogs.
constexpr std::size_t kTemplateBytes = 64 * 1024;

::INT_PTR CALLBACK DialogThunk(HWND window, UINT message, ::WPARAM wParam, ::LPARAM lParam) {
    Win32WindowSystem* system = CurrentWindowSystem();
    return system ? system->DialogMessage(window, message, wParam, lParam) : FALSE;
}

void CALLBACK BoxTimer(HWND, UINT, UINT_PTR, ::DWORD) {
    if (Win32WindowSystem* system = CurrentWindowSystem())
        system->AnswerBoxes();
}

std::optional<std::vector<BYTE>> Assemble(DialogTemplateFields fields) {
    // The face the template names may have no Hangul on this system.
    if (fields.style & kDsSetFont) {
        std::string face;
        for (char16_t c : fields.typeface) // face names are ASCII
            face += c < 0x80 ? static_cast<char>(c) : '?';
        std::string chosen = HangulFace(face);
        fields.typeface.assign(chosen.begin(), chosen.end());
    }
    DialogTemplateBuilder builder(kTemplateBytes);
    if (!builder.SetHeader(fields))
        return std::nullopt;
    for (const DialogItemFields& item : fields.items) {
        if (!builder.AddItem(item))
            return std::nullopt;
    }
    std::span<const BYTE> block = builder.Block();
    return std::vector<BYTE>(block.begin(),
                             block.begin() + static_cast<std::ptrdiff_t>(builder.Used()));
}

struct ThreadBoxes {
    const std::map<HWND, std::unique_ptr<Win32Dialog>>* ours = nullptr;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectBox(HWND window, ::LPARAM param) {
    auto* boxes = reinterpret_cast<ThreadBoxes*>(param);
    char name[16] = {};
    GetClassNameA(window, name, 16);
    if (std::string_view(name) == "#32770" && ::IsWindowVisible(window) &&
        !boxes->ours->count(window))
        boxes->found.push_back(window);
    return TRUE;
}

// The longest static text of a box: its message.
std::string BoxText(const UserText& user, HWND box) {
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ControlTypeOf(child) != ui::ControlType::Static)
            continue;
        std::string text = user.Text(child);
        if (text.size() > longest.size())
            longest = std::move(text);
    }
    return longest;
}

} // namespace

std::optional<std::vector<BYTE>>
Win32WindowSystem::BuildTemplate(std::span<const BYTE> bytes) const {
    std::optional<DialogTemplateFields> fields = ReadDialogTemplate(bytes);
    if (!fields)
        return std::nullopt;
    return Assemble(std::move(*fields));
}

std::vector<BYTE> Win32WindowSystem::BuildTemplate(std::string_view templateName,
                                                   bool* found) const {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
    *found = dialogTemplate != nullptr;
    if (!dialogTemplate)
        return {};
    auto bytes = Assemble(ui::FieldsFromDialogTemplate(*dialogTemplate, codePage_));
    *found = bytes.has_value();
    return bytes ? std::move(*bytes) : std::vector<BYTE>{};
}

Win32Dialog* Win32WindowSystem::FindWin32Dialog(HWND window) const {
    auto found = dialogs_.find(window);
    return found == dialogs_.end() ? nullptr : found->second.get();
}

DialogWindow* Win32WindowSystem::FindDialog(WindowHandle dialog) {
    return FindWin32Dialog(ToHwnd(dialog));
}

void Win32WindowSystem::SetFrontend(ui::Frontend* frontend) {
    frontend_ = frontend;
    if (frontend_)
        StartBoxWatch();
    else
        StopBoxWatch();
}

void Win32WindowSystem::StartBoxWatch() {
    lastActivity_ = static_cast<DWORD>(GetTickCount());
    if (!boxTimer_)
        boxTimer_ = ::SetTimer(nullptr, 0, kBoxWatchMs, BoxTimer);
}

void Win32WindowSystem::StopBoxWatch() {
    if (boxTimer_)
        ::KillTimer(nullptr, boxTimer_);
    boxTimer_ = 0;
}

void Win32WindowSystem::AnswerBoxes() {
    ThreadBoxes boxes;
    boxes.ours = &dialogs_;
    EnumThreadWindows(GetCurrentThreadId(), CollectBox, reinterpret_cast<::LPARAM>(&boxes));
    for (HWND box : boxes.found) {
        if (answeredBoxes_.count(box))
            continue;
        answeredBoxes_.insert(box);
        int answer = IDCANCEL;
        if (boxAnswer_) {
            // The installer's own box, shown by MessageBox below.
            answer = *boxAnswer_;
            boxAnswer_.reset();
            TakePicture("message", true);
        } else if (events_) {
            // A box the platform shows by itself (a file prompt): a person would cancel it.
            PlatformEvent event{"prompt", {}};
            event.fields.emplace_back("caption", codePage_.ToUtf8(user_.Text(box)));
            event.fields.emplace_back("text", codePage_.ToUtf8(BoxText(user_, box)));
            event.fields.emplace_back("answer", std::string("cancel"));
            events_->Record(std::move(event));
        }
        HWND button = GetDlgItem(box, answer);
        user_.Post(box, WM_COMMAND, MakeWParam(static_cast<WORD>(answer), BN_CLICKED),
                   reinterpret_cast<::LPARAM>(button));
    }
}

int Win32WindowSystem::MessageBox(WindowHandle owner, std::string_view text,
                                  std::string_view caption, UINT type, std::string_view key) {
    ui::MessageBoxRequest request;
    request.owner = owner;
    request.text = std::string(text);
    request.caption = std::string(caption);
    request.type = type;
    request.key = std::string(key);
    if (stopped_)
        return request.DefaultResult();
    request.occurrence = ++messageShowings_[request.key];
    int result = 0;
    if (frontend_) {
        ui::MessageBoxAnswer answer = frontend_->AnswerMessageBox(request);
        if (!answer.error.empty()) {
            Stop(answer.error);
            return request.DefaultResult();
        }
        boxAnswer_ = answer.result;
        result = user_.Box(ToHwnd(owner), text, caption, type);
        boxAnswer_.reset();
        answeredBoxes_.clear();
        if (result == 0) // no box could be shown: the answer stands
            result = answer.result;
    } else {
        result = user_.Box(ToHwnd(owner), text, caption, type);
        if (result == 0)
            result = request.DefaultResult();
    }
    if (observer_)
        observer_->MessageBoxShown(request, result);
    return result;
}

INT_PTR Win32WindowSystem::RunModal(const std::vector<BYTE>& templateBytes, std::string_view name,
                                    WindowHandle owner, DialogProc proc, LPARAM initParam) {
    if (stopped_)
        return -1;
    DialogStart start{std::move(proc), initParam, std::string(name), true, std::nullopt, false};
    ::INT_PTR result = user_.Wide()
                           ? DialogBoxIndirectParamW(
                                 instance_, reinterpret_cast<LPCDLGTEMPLATEW>(templateBytes.data()),
                                 ToHwnd(owner), DialogThunk, reinterpret_cast<::LPARAM>(&start))
                           : DialogBoxIndirectParamA(
                                 instance_, reinterpret_cast<LPCDLGTEMPLATEA>(templateBytes.data()),
                                 ToHwnd(owner), DialogThunk, reinterpret_cast<::LPARAM>(&start));
    if (stopped_)
        result = -1;
    if (start.record && !start.recorded && observer_) {
        start.record->result = static_cast<INT_PTR>(result);
        observer_->DialogClosed(*start.record);
    }
    return static_cast<INT_PTR>(result);
}

INT_PTR Win32WindowSystem::DialogBox(std::string_view templateName, WindowHandle owner,
                                     DialogProc proc, LPARAM initParam) {
    bool found = false;
    std::vector<BYTE> bytes = BuildTemplate(templateName, &found);
    if (!found)
        return -1;
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
    return RunModal(bytes, dialogTemplate->name, owner, std::move(proc), initParam);
}

INT_PTR Win32WindowSystem::DialogBoxIndirect(std::span<const BYTE> templateBytes,
                                             std::string_view name, WindowHandle owner,
                                             DialogProc proc, LPARAM initParam) {
    auto bytes = BuildTemplate(templateBytes);
    if (!bytes)
        return -1;
    return RunModal(*bytes, name, owner, std::move(proc), initParam);
}

WindowHandle Win32WindowSystem::CreateDialog(std::string_view templateName, WindowHandle owner,
                                             DialogProc proc, LPARAM initParam) {
    bool found = false;
    std::vector<BYTE> bytes = BuildTemplate(templateName, &found);
    if (!found || stopped_)
        return {};
    const DialogTemplate* dialogTemplate = FindDialogTemplate(templateName);
    DialogStart start{std::move(proc), initParam, dialogTemplate->name, false, std::nullopt, false};
    // The template's texts are UTF-16 for the ANSI call as well.
    HWND window =
        user_.Wide()
            ? CreateDialogIndirectParamW(instance_, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                         ToHwnd(owner), DialogThunk,
                                         reinterpret_cast<::LPARAM>(&start))
            : CreateDialogIndirectParamA(instance_, reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()),
                                         ToHwnd(owner), DialogThunk,
                                         reinterpret_cast<::LPARAM>(&start));
    return ToHandle(window);
}

::INT_PTR Win32WindowSystem::DialogMessage(HWND window, UINT message, ::WPARAM wParam,
                                           ::LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* start = reinterpret_cast<DialogStart*>(lParam);
        if (!start)
            return FALSE;
        auto made = std::make_unique<Win32Dialog>(*this, window, start->proc, start->name,
                                                  ++dialogOpenings_[start->name], start->modal);
        Win32Dialog& dialog = *made;
        dialogs_[window] = std::move(made);
        if (start->modal)
            modalStarts_[window] = start;
        INT_PTR handled = dialog.CallProc(WM_INITDIALOG, wParam, start->initParam);
        if (Win32Dialog* still = FindWin32Dialog(window)) {
            still->Opened() = still->Snapshot();
            if (start->modal && frontend_ && !still->Ended())
                user_.Post(window, kDriveMessage, 0, 0);
        }
        return handled;
    }
    Win32Dialog* dialog = FindWin32Dialog(window);
    if (!dialog)
        return FALSE;
    switch (message) {
    case kDriveMessage:
        Drive(*dialog, static_cast<int>(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam >= kDriveTimer && wParam < kDriveTimer + 8) {
            ::KillTimer(window, wParam);
            user_.Post(window, kDriveMessage, wParam - kDriveTimer, 0);
            return TRUE;
        }
        dialog->TimerFired(wParam);
        NoteTimer(window, wParam);
        break;
    case WM_COMMAND: {
        // A push button of this dialog was clicked, by a person or by the driver.
        HWND from = reinterpret_cast<HWND>(lParam);
        if (HiWord(wParam) == BN_CLICKED && from && ::GetParent(from) == window &&
            ControlTypeOf(from) == ui::ControlType::PushButton)
            dialog->NotePressed(LoWord(wParam));
        break;
    }
    case WM_DESTROY: {
        ui::DialogRecord record{dialog->Name(), dialog->Opened(), dialog->Snapshot(),
                                dialog->Pressed(), std::nullopt};
        auto modal = modalStarts_.find(window);
        if (modal != modalStarts_.end())
            modal->second->record = std::move(record);
        else if (observer_)
            observer_->DialogClosed(record);
        break;
    }
    default:
        break;
    }
    ::INT_PTR result = static_cast<::INT_PTR>(dialog->CallProc(message, wParam, lParam));
    if (message == WM_NCDESTROY) {
        modalStarts_.erase(window);
        auto found = dialogs_.find(window);
        if (found != dialogs_.end()) {
            // A procedure up the stack may still hold it: freed at the next GetMessage.
            graveyard_.push_back(std::move(found->second));
            dialogs_.erase(found);
        }
    }
    return result;
}

void Win32WindowSystem::TakePicture(const std::string& name, bool paintPending) {
    if (pictureDirectory_.empty())
        return;
    std::wstring number = std::to_wstring(++pictureCount_);
    if (number.size() < 2)
        number.insert(0, 1, L'0');
    SaveScreenPicture(pictureDirectory_ + L"\\" + number + L"-" +
                          std::wstring(name.begin(), name.end()) + L".bmp",
                      paintPending);
}

void Win32WindowSystem::Drive(Win32Dialog& dialog, int attempt) {
    HWND window = dialog.Window();
    if (dialog.Ended() || !frontend_)
        return;
    if (stopped_) {
        dialog.EndDialog(-1);
        return;
    }
    if (dialog.TimerPending()) {
        ::SetTimer(window, kDriveTimer + static_cast<UINT_PTR>(std::clamp(attempt, 0, 7)),
                   kDriveWaitMs, nullptr);
        return;
    }
    if (attempt == 0 && !pictureDirectory_.empty()) {
        ::ShowWindow(window, SW_SHOW);
        TakePicture(dialog.Name(), true);
    }
    if (auto error = frontend_->DriveDialog(dialog, attempt)) {
        Win32Dialog* still = FindWin32Dialog(window);
        auto modal = modalStarts_.find(window);
        if (still && modal != modalStarts_.end() && observer_) {
            observer_->DialogClosed(ui::DialogRecord{
                still->Name(), still->Opened(), still->Snapshot(), still->Pressed(), std::nullopt});
            modal->second->recorded = true;
        }
        Stop(*error);
        if (Win32Dialog* open = FindWin32Dialog(window); open && !open->Ended())
            open->EndDialog(-1);
        return;
    }
    Win32Dialog* still = FindWin32Dialog(window);
    if (still && !still->Ended())
        user_.Post(window, kDriveMessage, static_cast<::WPARAM>(attempt + 1), 0);
}

} // namespace tl::win32ui
