// The transcript of a run (JSON Lines) read back for tests: its events, the messages and dialogs
// by key and template, and a one-line-per-event story of the run to compare whole.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tl::test {

class TranscriptLines {
public:
    TranscriptLines() = default;
    // Reads a transcript file; a line that is not JSON is reported to the test.
    static TranscriptLines Read(const std::filesystem::path& path);

    const std::vector<nlohmann::json>& Lines() const { return lines_; }

    // Every event of that kind ("message", "dialog", "broadcast", ...), in order.
    std::vector<nlohmann::json> Events(std::string_view event) const;
    // The occurrence-th (from 1) message box with that key, or null.
    nlohmann::json Message(std::string_view key, int occurrence = 1) const;
    // The occurrence-th (from 1) dialog of that template, or null.
    nlohmann::json Dialog(std::string_view name, int occurrence = 1) const;
    // The last line, the "end" event (null when the transcript is empty).
    nlohmann::json End() const;

    // One short line per event: "message 139 yes", "dialog SELECTDRV 1", "dialog COPYING -",
    // "broadcast WM_DEVMODECHANGE", "addfont C:\...", "prompt A:\X.DR_", "restart 2", "beep",
    // "timer 1", "error LZCopy C:\... 30", "end 4 0"; other events by their name.
    std::vector<std::string> Story() const;

private:
    std::vector<nlohmann::json> lines_;
};

} // namespace tl::test
