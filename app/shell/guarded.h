// A failure of the table engine ends the command in hand with the engine's own message, and the
// window stays usable. Every command a window runs from the event loop goes through here: an
// exception must never travel through Qt's event loop.
#pragma once

#include <exception>
#include <utility>

#include "core/ports/prompter.h"

namespace tavrel::app {

template <class Work>
bool guarded(Prompter& prompter, Work&& work) {
  try {
    std::forward<Work>(work)();
    return true;
  } catch (const std::exception& failure) {
    prompter.error(failure.what());
    return false;
  }
}

}  // namespace tavrel::app
