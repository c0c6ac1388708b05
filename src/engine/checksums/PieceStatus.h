#pragma once

// How a piece compares with its line in the checksum list.
enum class PieceStatus { Matches, Damaged, Missing };
