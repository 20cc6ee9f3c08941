// Every port the installer reaches the world through, gathered so that an Installer takes one
// Platform& (the machine-folder adapters on the host, the Win32 ones on Windows).
#pragma once

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/file_system.h"
#include "platform/storage.h"
#include "platform/system.h"

namespace tl {

struct Platform {
    FileSystem& files;
    Storage& storage;
    System& system;
    Clock& clock;
    const CodePage& codePage;
    EventSink& events;
};

} // namespace tl
