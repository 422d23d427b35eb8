#pragma once

class QString;

// How parameter writes and cached reads travel to the editor.
//
// Batched (the default): every write joins one pending list, in call order,
// sent as one "setData_prm_val" before anything that could observe it (an
// uncached read, any other command, the size bound, Destroy). A list the
// editor refuses is resent in halves down to single writes, so only the
// refused addresses are lost. Reads are answered from a cache that a write
// to the same value, a recall, a store, a load or a memory reset empties.
//
// Strict: channel-block writes are collected until the block's last channel
// and everything else is written singly; the one cached block lives until the
// next block read, across writes and recalls. For editors that need exactly
// that wire behaviour.
enum class WireMode { Batched, Strict };

// The KX9.ini spelling: "batched" or "strict", case-insensitive; an empty
// text is the default. False for anything else.
bool parseWireMode(const QString& text, WireMode& mode);
