#include "audio/pipeline/Guid.h"

namespace quorvel {

bool SameGuid(const TGuid& A, const TGuid& B) {
    if (A.D1 != B.D1 || A.D2 != B.D2 || A.D3 != B.D3) return false;
    for (int i = 0; i < 8; ++i)
        if (A.D4[i] != B.D4[i]) return false;
    return true;
}

}  // namespace quorvel
