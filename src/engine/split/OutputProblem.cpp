#include "split/OutputProblem.h"

Failure OutputProblem::refusal(const QString &source, const QString &role,
                               const QString &path) const {
    using Code = Failure::Code;
    QList<FailureArg> args{FailureArg::text(role), FailureArg::path(path)};
    switch (kind) {
    case Kind::QueuedSource:
        if (detail.isEmpty())
            return Failure(Code::OutputQueued, source, args);
        return Failure(Code::OutputQueuedAs, source, args << FailureArg::path(detail));
    case Kind::HardLinkOf:
        return Failure(Code::OutputHardLinkOf, source, args << FailureArg::path(detail));
    case Kind::SymbolicLink:
        return Failure(Code::OutputSymbolicLink, source, args);
    case Kind::NotRegular:
        return Failure(Code::OutputNotRegular, source, args << FailureArg::fileKind(int(fileKind)));
    case Kind::OtherNames:
        return Failure(Code::OutputOtherNames, source, args);
    case Kind::CaseTwin:
        return Failure(Code::OutputCaseTwin, source, args << FailureArg::path(detail));
    case Kind::NotWritable:
        break;
    }
    return Failure(Code::OutputNotWritable, source, args);
}

Failure OutputProblem::latePiece(const QString &path) const {
    using Code = Failure::Code;
    switch (kind) {
    case Kind::QueuedSource:
        return Failure(Code::LatePieceQueued, path,
                       detail.isEmpty() ? QList<FailureArg>() : QList{FailureArg::path(detail)});
    case Kind::HardLinkOf:
        return Failure(Code::LatePieceHardLinkOf, path, {FailureArg::path(detail)});
    case Kind::SymbolicLink:
        return Failure(Code::LatePieceSymbolicLink, path);
    case Kind::NotRegular:
        return Failure(Code::LatePieceNotRegular, path, {FailureArg::fileKind(int(fileKind))});
    case Kind::OtherNames:
        return Failure(Code::LatePieceOtherNames, path);
    case Kind::CaseTwin:
        return Failure(Code::LatePieceCaseTwin, path, {FailureArg::path(detail)});
    case Kind::NotWritable:
        break;
    }
    return Failure(Code::LatePieceNotWritable, path);
}
