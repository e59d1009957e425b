#include "audio/formats/APEv2Tags.h"

namespace quorvel {

TAPEv2Tags::TAPEv2Tags() {
    for (const char* name :
         {"Artist", "Composer",    "Album",           "Debut album", "Publisher", "Conductor", "Copyright",
          "ISBN",   "ISRC",        "EAN/UPC",         "LC",          "Catalog",   "Language",  "Genre",
          "Year",   "Record Date", "Record Location", "File",        "Related",   "Abstract",  "Bibliography",
          "Track",  "Title",       "Subtitle",        "Comment"})
        AddName(name);
}

}  // namespace quorvel
