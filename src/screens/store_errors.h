#pragma once

#include "db/store.h"

#include <QString>

#include <functional>

namespace veltron::screens {

// The one message of a failure of the store: the title "Внимание!", the
// reason, and on a line of its own what it means for the user's action.
void showStoreError(const db::StoreError& e, const QString& consequence = {});

// Runs an action on the store; when the store fails, shows why and returns false.
bool onStore(const std::function<void()>& action, const QString& consequence = {});

}  // namespace veltron::screens
