// The display engine: interprets the display program text and produces panel frames.
#pragma once

namespace zor {

} // namespace zor
