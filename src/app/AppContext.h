#pragma once

#include "app/Connection.h"
#include "app/FileIni.h"
#include "app/HiResTimer.h"
#include "common/SessionState.h"
#include "files/FileComIO.h"
#include "hid/ZrHID.h"
#include "protocol/ErrHdlr.h"
#include "protocol/USBcmds.h"

namespace orvix {

class EventPump;
class HidBackend;
class Panes;
class Platform;
class Prompter;

// Everything one running program owns, wired together once. main builds one
// over the real services; a test can build as many as it likes.
struct AppContext {
    AppContext(HidBackend& backend, Prompter& prompter, Panes& panes, EventPump& pump, Platform& platform);
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    Prompter& prompter;
    Panes& panes;
    EventPump& pump;
    Platform& platform;

    ErrHdlr errors;
    ZrHID hid;
    USBcmds cmds;
    FileComIO files;
    FileIni ini;
    HiResTimer timer;
    SessionState session;
    Connection connection;
};

}  // namespace orvix
