#pragma once

#include "engine/TestOutcome.h"

#include <nlohmann/json.hpp>

namespace tikmeter::cli {

// One test's outcome as the JSON object of `tikmeter mark --json`.
nlohmann::json outcomeJson(const engine::TestOutcome& outcome);

} // namespace tikmeter::cli
