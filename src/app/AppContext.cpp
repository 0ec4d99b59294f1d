#include "app/AppContext.h"

namespace orvix {

AppContext::AppContext(HidBackend& backend, Prompter& prompter_, Panes& panes_, EventPump& pump_,
                       Platform& platform_)
    : prompter(prompter_),
      panes(panes_),
      pump(pump_),
      platform(platform_),
      errors(prompter_, platform_),
      hid(backend),
      cmds(hid, errors, panes_, platform_),
      files(prompter_, panes_, errors),
      ini(prompter_, platform_),
      timer(platform_),
      connection(hid, cmds, prompter_, panes_, platform_, session) {}

}  // namespace orvix
