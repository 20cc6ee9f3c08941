// The clock port of a machine folder: its time zone is a fixed offset from UTC
// ([Machine] UtcOffsetMinutes), its user locale Korean (0412) or English (0409).
#pragma once

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/host/date_picture.h"
#include "platform/host/machine_config.h"

namespace tl::host {

class MachineClock final : public Clock {
public:
    MachineClock(const MachineConfig& config, const CodePage& codePage);

    BOOL FileTimeToLocalFileTime(const FILETIME& utc, FILETIME* local) const override;
    BOOL LocalFileTimeToFileTime(const FILETIME& local, FILETIME* utc) const override;
    SYSTEMTIME GetLocalTime() const override;
    LCID GetUserDefaultLCID() const override { return locale_; }

    std::optional<std::string> GetDateFormat(LCID locale, DWORD flags, const SYSTEMTIME& date,
                                             std::string_view picture, int bufferSize,
                                             DWORD* error = nullptr) const override;
    std::optional<std::string> GetTimeFormat(LCID locale, DWORD flags, const SYSTEMTIME& time,
                                             std::string_view picture, int bufferSize,
                                             DWORD* error = nullptr) const override;

private:
    const LocaleNames* Names(LCID locale) const;

    LCID locale_;
    std::int64_t offsetUnits_; // UtcOffsetMinutes in file-time units
    LocaleNames korean_;
    LocaleNames english_;
};

} // namespace tl::host
