#pragma once

#include "audio/formats/APEv2Tags.h"
#include "audio/formats/Id3v1Tags.h"
#include "audio/formats/Id3v2Tags.h"
#include "audio/pipeline/FileIn.h"

namespace quorvel {

// A file reader with one tag set of each kind, filled when it opens a file.
class TAuTaggedFileIn : public TAuFileIn {
public:
    TId3v1Tags& Id3v1Tags() { return FId3v1Tags; }
    TId3v2Tags& Id3v2Tags() { return FId3v2Tags; }
    TAPEv2Tags& APEv2Tags() { return FAPEv2Tags; }

protected:
    TId3v1Tags FId3v1Tags;
    TId3v2Tags FId3v2Tags;
    TAPEv2Tags FAPEv2Tags;
};

}  // namespace quorvel
