#pragma once

namespace tikmeter::engine {

// How the final result is rounded: the Settings menu's check mark.
enum class ResultFormat { MultipleOf5, Integer };

// The language of a test, and so which source document it is compared with.
enum class Language { Afrikaans, English };

} // namespace tikmeter::engine
