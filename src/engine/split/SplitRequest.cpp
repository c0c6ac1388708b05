#include "split/SplitRequest.h"

#include "names/OutputKinds.h"

QList<OutputNames::Kind> SplitRequest::besidePieces() const {
    QList<OutputNames::Kind> kinds;
    for (const OutputKind &output : kOutputKinds) {
        if (output.isBesidePieces() && writes(output.kind))
            kinds << output.kind;
    }
    return kinds;
}
