// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies that make an in-place rewrite of a journal all or nothing: the complete
// new text is on disk before the journal is touched, and whoever next reads or saves the
// journal completes a rewrite that was cut short.
#pragma once

#include "JournalLock.h"
#include "TextFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Writes the recovery copy of the journal that lock holds: a header naming the journal and
// its state now, then newSize bytes that writeText writes at the descriptor it is given. The
// copy lies beside the journal where its folder may be written, else in the user's state
// folder ($XDG_STATE_HOME/tabulon/recovery), and appears there only once complete and on
// disk. Returns its name. Throws CFileException("save", path, reason).
std::string WriteRecoveryCopy(const JournalLock& lock, const std::string& path,
                              std::uint64_t newSize, const std::function<void(int)>& writeText);

// Deals with a recovery copy left for the locked journal: when the journal is still the
// one the copy was made from, the rewrite had not begun and the copy goes; when the journal
// was written after the copy was made, the rewrite is completed from it. A copy for another
// file, or one the journal changed after in another way, is left alone. Throws
// CFileException(action, path, reason) when the completion fails.
std::optional<InterruptedSave>
FinishInterruptedSave(const JournalLock& lock, const std::string& path, const std::string& action);

// The same for the journal at path, locking it only when a recovery copy is there.
std::optional<InterruptedSave> FinishInterruptedSaveOf(const std::string& path);
