// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/TestHooks.h"

#include <atomic>
#include <memory>

namespace engine::core {
namespace {

// Set while no operation runs; read at every moment, so a plain atomic pointer keeps the cost at one load.
std::atomic<std::function<void(Moment)>*> gHook{nullptr};

}  // namespace

const char* nameOf(Moment moment) {
    switch (moment) {
        case Moment::FolderOpened: return "FolderOpened";
        case Moment::ResultWritten: return "ResultWritten";
        case Moment::ResultNamed: return "ResultNamed";
        case Moment::FilesNamed: return "FilesNamed";
        case Moment::PackageRemoved: return "PackageRemoved";
        case Moment::OriginalsRemoved: return "OriginalsRemoved";
        case Moment::KeyDerivation: return "KeyDerivation";
    }
    return "?";
}

void setMomentHookForTesting(std::function<void(Moment)> hook) {
    auto* fresh = hook ? new std::function<void(Moment)>(std::move(hook)) : nullptr;
    delete gHook.exchange(fresh);
}

void reachMoment(Moment moment) {
    if (auto* hook = gHook.load()) (*hook)(moment);
}

}  // namespace engine::core
