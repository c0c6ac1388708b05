#pragma once

// Every reason Tessary gives for what it could not do, each with the kind of failure it is:
// X(code, kind). The words of each are in the engine (words/FailureText.cpp), in one function.
// clang-format off
#define TESSARY_FAILURE_CODES(X)                                                                 \
    /* the system's own reason for a call that failed; its error number tells the kind */        \
    X(System, System)                                                                            \
    X(Stopped, Stopped)                                                                          \
    X(NoMemory, NoMemory)                                                                        \
    X(UnknownError, System)                                                                      \
    X(OtherError, System)             /* a library's failure: its own words */                   \
    X(NoThreadToSpare, System)                                                                   \
    X(ReadOnlyFolder, NotAllowed)     /* what could not be made there is one of Tessary's own */ \
    X(FolderIsFull, NoRoom)                                                                      \
    X(NoFilesLeft, NoRoom)                                                                       \
    X(WritesNoLink, Unusable)                                                                    \
    X(FollowsNoLink, Unusable)                                                                   \
    X(NotRegularFile, Unusable)                                                                  \
    X(NotRegularFileKind, Unusable)   /* FileKind */                                             \
    X(HasOtherNames, Unusable)                                                                   \
    X(AppearedMeanwhile, Exists)                                                                 \
    X(LongerThanExpected, TooLarge)   /* Count: bytes */                                         \
    X(LockKeepsBeingReplaced, Changed)                                                           \
    X(Par2Missing, NotFound)                                                                     \
    X(Par2NotStarted, System)         /* Text: why */                                            \
    X(Par2EndedEarly, System)         /* Text: why */                                            \
    X(RcloneMissing, NotFound)                                                                   \
    X(RcloneNotStarted, System)       /* Text: why */                                            \
    X(RcloneEndedEarly, System)       /* Text: why */                                            \
    X(RcloneAnswerUnreadable, System) /* Text: what it said */                                   \
    /* a remote of rclone's: rclone's reason, in its words */                                    \
    X(RemoteNotConfigured, NotFound)  /* Name: the remote */                                     \
    X(RemoteCredentialsRefused, NotAllowed) /* Text: why */                                      \
    X(RemoteQuotaExceeded, NoRoom)    /* Text: why */                                            \
    X(RemoteConnectionLost, System)   /* Text: why */                                            \
    X(RemoteNotFound, NotFound)       /* Text: why */                                            \
    X(RemoteFailed, System)           /* Text: why */                                            \
    /* names */                                                                                  \
    X(NameHoldsDoubleQuote, Unusable)                                                            \
    X(NameHoldsControl, Unusable)     /* Text: the character */                                  \
    X(NameHoldsWildcard, Unusable)    /* Text: the character */                                  \
    X(NameHoldsForbidden, Unusable)   /* Text: the character */                                  \
    X(NameEndsInBlank, Unusable)                                                                 \
    X(NameEndsInDot, Unusable)                                                                   \
    X(NameIsDevice, Unusable)         /* Text: the device */                                     \
    X(NameNotUtf8, Unusable)                                                                     \
    /* a split's check */                                                                        \
    X(RecoveryNeedsChecksums, Unusable)                                                          \
    X(SameNamesAs, Exists)            /* Path: the file queued before */                         \
    X(OutputQueued, Exists)           /* Text: role, Path: output */                             \
    X(OutputQueuedAs, Exists)         /* Text: role, Path: output, Path: the queued file */      \
    X(OutputHardLinkOf, Exists)       /* Text: role, Path: output, Path: the source */           \
    X(OutputSymbolicLink, Unusable)   /* Text: role, Path: output */                             \
    X(OutputNotRegular, Unusable)     /* Text: role, Path: output, FileKind */                   \
    X(OutputOtherNames, Unusable)     /* Text: role, Path: output */                             \
    X(OutputCaseTwin, Exists)         /* Text: role, Path: output, Path: the other */            \
    X(OutputNotWritable, NotAllowed)  /* Text: role, Path: output */                             \
    X(OutputNotOurs, NotOurs)         /* Text: role, Path: output, Name: file */                 \
    X(PieceNotNamedBeside, NotOurs)   /* Path: piece, Name: file */                              \
    X(OutputNotExamined, System)      /* Path: output; the part: why (its kind is this one's) */ \
    X(AnotherRunSplits, Busy)         /* Name: file */                                           \
    X(NameTooLong, TooLarge)          /* Name, Count: bytes, Count: most */                      \
    X(PathTooLong, TooLarge)          /* Name, Count: bytes, Count: most */                      \
    X(FolderNotWritable, NotAllowed)                                                             \
    X(FolderRemoved, NotFound)                                                                   \
    X(SplitNeedsSpace, NoRoom)        /* Bytes: needed, Bytes: free */                           \
    X(SplitNeedsFiles, NoRoom)        /* Count: needed, Count: free */                           \
    X(PieceTooLargeForVolume, TooLarge) /* PreciseBytes: largest file, PreciseBytes: piece */    \
    X(PieceUnderBlock, Unusable)      /* Count: bytes in a piece, Count: bytes in a block */     \
    X(FewerBytesThanPieces, Unusable) /* Count: bytes, Count: pieces */                          \
    X(NotInEqualPieces, Unusable)     /* Count: bytes, Count: pieces */                          \
    X(SplitRefused, Refused)          /* the parts: every refusal */                             \
    /* a split's run */                                                                          \
    X(ChangedAfterCheck, Changed)                                                                \
    X(ChangedWhileSplit, Changed)                                                                \
    X(ReplacedWhileWritten, Changed)                                                             \
    X(CutShortWhileWritten, Changed)                                                             \
    X(LatePieceQueued, Exists)        /* Path: the queued file, or none */                       \
    X(LatePieceHardLinkOf, Exists)    /* Path: the source */                                     \
    X(LatePieceSymbolicLink, Unusable)                                                           \
    X(LatePieceNotRegular, Unusable)  /* FileKind */                                             \
    X(LatePieceOtherNames, Unusable)                                                             \
    X(LatePieceCaseTwin, Exists)      /* Path: the other */                                      \
    X(LatePieceNotWritable, NotAllowed)                                                          \
    /* a restore script read */                                                                  \
    X(ScriptTooLarge, TooLarge)                                                                  \
    X(ScriptTooShort, Unusable)                                                                  \
    X(ScriptByteOrderMark, Unusable)  /* Count: line, Line */                                    \
    X(ScriptLineTooLong, Unusable)    /* Count: line, Line */                                    \
    X(ScriptLineNotUtf8, Unusable)    /* Count: line, Line */                                    \
    X(ScriptLineAfterEcho, Unusable)  /* Count: line, Line, Name: file */                        \
    X(ScriptLineNotCopy, Unusable)    /* Count: line, Line */                                    \
    X(ScriptMakesUnsplittable, Unusable) /* Count: line, Line, Name: made; the part: why */      \
    X(ScriptMakesOther, Unusable)     /* Count: line, Line, Name: made, Name: file */            \
    X(ScriptLineGoesNotOn, Unusable)  /* Count: line, Line, Name: file */                        \
    X(ScriptNamesWrongPiece, Unusable) /* Count: line, Line, Name: named, Name: expected */      \
    X(ScriptLineNotEcho, Unusable)    /* Count: line, Line, Name: file */                        \
    X(ScriptRestoresOther, Unusable)  /* Name: first piece, Name: restored, Name: file */        \
    X(ScriptDisagreesWithList, Unusable) /* Name: script, Count: pieces, Name: list, Count */    \
    X(PosixScriptNotOurs, Unusable)   /* Name: file */                                           \
    X(PosixScriptDisagreesWithList, Unusable) /* Name: list */                                   \
    X(ListOmitsPieceBeside, Unusable) /* Count: pieces listed, Name: the piece beside */         \
    X(MissingThoughLaterThere, NotFound) /* Name: the later piece */                            \
    X(ChosenLaterPiece, Unusable)                                                                \
    X(ChooseListScriptOrFirst, Unusable)                                                         \
    /* a checksum list read */                                                                   \
    X(ListTooLarge, Unusable)                                                                    \
    X(ListHasNoWholeLine, Unusable)   /* Name: file */                                           \
    X(ListHasNoPieces, Unusable)      /* Name: file */                                           \
    X(ListSkipsPiece, Unusable)       /* Name: piece, Name: last listed */                       \
    X(ListLineTooLong, Unusable)      /* Count: line, Line */                                    \
    X(ListLineNotDigest, Unusable)    /* Count: line, Line */                                    \
    X(ListLineNamesOther, Unusable)   /* Count: line, Line, Name: named, Name: file */           \
    X(ListLineRepeats, Unusable)      /* Count: line, Line, Name: named */                       \
    X(TwoListsBeside, Unusable)       /* Name: the other list, Name: file */                     \
    X(NoListToCheck, NotFound)        /* Name: list */                                           \
    /* a join */                                                                                 \
    X(PieceMissing, NotFound)                                                                    \
    X(PieceIsLink, Unusable)                                                                     \
    X(PieceNotAFile, Unusable)        /* FileKind */                                             \
    X(PieceSameAs, Unusable)          /* Name: the other piece */                                \
    X(PieceIsTheScript, Unusable)                                                                \
    X(NoScriptDeclined, Declined)                                                                \
    X(OddPieceDamaged, Damaged)       /* Count: bytes, Name: first piece, Count: its bytes */    \
    X(OddPieceDeclined, Declined)                                                                \
    X(DestinationIsScript, Unusable)                                                             \
    X(DestinationNotAFile, Unusable)  /* FileKind */                                             \
    X(DestinationIsPiece, Unusable)                                                              \
    X(ReplaceDeclined, Declined)                                                                 \
    X(AnotherRunJoins, Busy)          /* Name: file */                                           \
    X(JoinNeedsSpace, NoRoom)         /* Bytes: needed, Bytes: free */                           \
    X(JoinNeedsFile, NoRoom)                                                                     \
    X(CutShortWhileJoined, Changed)                                                              \
    X(PieceDamaged, Damaged)          /* Name: list */                                           \
    X(JoinedWouldDiffer, Damaged)     /* Name: list */                                           \
    /* recovery files */                                                                         \
    X(Par2ArgumentsTooLong, TooLarge) /* Count: pieces */                                        \
    X(TooManyPiecesForRecovery, TooLarge) /* Count: pieces, Count: most */                       \
    X(RecoveryTooLargeForVolume, TooLarge)                                                       \
    X(Par2CouldNotRead, Damaged)      /* Text: par2's last line */                               \
    X(Par2CouldNotMake, System)       /* Text: par2's last line */                               \
    X(Par2DidNotMake, System)                                                                    \
    X(Par2MadeUnasked, System)                                                                   \
    X(ChangedWhileRebuilt, Changed)                                                              \
    X(RebuildWillNotReplace, Unusable) /* FileKind */                                            \
    X(RebuildNeedsSpace, NoRoom)      /* Bytes: needed, Bytes: free */                           \
    X(NoSymbolicLinks, Unusable)                                                                 \
    X(Par2DidNotRebuild, System)                                                                 \
    X(RebuiltDoesNotMatch, Damaged)   /* Name: list */                                           \
    X(Par2CouldNotRebuild, System)    /* Text: par2's last line */                               \
    X(NoRecoveryFileBeside, NotFound) /* Name: file */                                           \
    X(CannotRebuild, Damaged)         /* Count: damaged, Count: pieces, Count: more, Text... */   \
    /* pieces on a remote */                                                                     \
    X(RecoveryNotToRemote, Unusable)                                                             \
    X(RemoteFolderMissing, NotFound)                                                             \
    X(RemotePieceNotNamed, NotOurs)   /* Path: piece, Name: file */                              \
    X(RemotePieceDiffers, NotOurs)    /* Name: file */                                           \
    X(RemoteSizeNotAsSent, Damaged)   /* Count: bytes there, Count: bytes sent */                \
    X(RemoteHashNotAsSent, Damaged)   /* Text: the hash */                                       \
    X(RemoteMissingAfterUpload, NotFound)                                                        \
    X(NotOnRemote, NotFound)
// clang-format on
