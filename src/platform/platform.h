// Every port the installer's own code reaches the world through, gathered so that an Installer
// takes one Platform& (the machine-folder adapters on the host, the Win32 ones on Windows). The
// window system and painting belong to the frontends and are handed over beside it.
#pragma once

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/events.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/storage.h"
#include "platform/system.h"
#include "platform/version_info.h"

namespace tl {

struct Platform {
    FileSystem& files;
    Storage& storage;
    System& system;
    Clock& clock;
    const CodePage& codePage;
    EventSink& events;
    Profile& profile;
    Registry& registry;
    Spooler& spooler;
    LzExpand& lz;
    VersionInfo& versionInfo;
};

} // namespace tl
