#pragma once

struct JoinPlan;

// Whether the join of plan makes the joined file of the pieces' own blocks rather than copies:
// where the pieces are whole, every one but the last a whole number of blocks of their file
// system (the joined file's, beside them), and that file system shares blocks between files
// (btrfs, XFS made with reflink), as a trial with the first piece shows. Anywhere else the
// pieces are copied. Throws a Failure where the folder cannot be looked at.
bool joinSharesBlocks(const JoinPlan &plan);
