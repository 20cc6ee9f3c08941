// The installation's switches, read from INSTALL.INF at start-up (startup/option_flags.h) and
// kept for the steps that act on them.
#pragma once

namespace tl {

struct OptionFlags {
    bool driverPath = false;        // PRINTERDRIVER.PATH is there (also when empty)
    bool fontList = false;          // TRUETYPEFONTS.FONTLIST has a value
    bool portDriverMessage = false; // [VxD] has two lines or more and message = TRUE
    bool demoFiles = false;         // [DEMOFILE] has a line
    bool deleteInstaller = false;   // [DEL.INST] begins with the line "1"
    int rebootMode = 0;             // [REBOOTSYSTEM]: 1 or 2, anything else 0
    bool versionText = false;       // [InstVersion] has a line
    bool ecpCheck = false;          // look for ECP ports at start
    bool addPrinterMode = false;    // [WIN95SETUP] "1" on Windows 3.90 or later
    bool versionType = false;       // [VERSION_TYPE] begins with the line "1"
};

} // namespace tl
