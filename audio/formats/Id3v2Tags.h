#pragma once

#include "audio/formats/AuTags.h"

#include <cstdint>
#include <string>

namespace quorvel {

// An ID3v2 tag at the start of a file. Values are stored under the frame ids
// of the version last read (2, or 3 and 4); a new set uses the 3/4 ids.
class TId3v2Tags : public TAuTags {
public:
    TId3v2Tags();

    std::u16string Album() const { return Wide(0); }
    void SetAlbum(const std::u16string& Value) { SetWide(0, Value); }
    std::u16string Artist() const { return Wide(1); }
    void SetArtist(const std::u16string& Value) { SetWide(1, Value); }
    std::u16string Genre() const { return Wide(2); }
    void SetGenre(const std::u16string& Value) { SetWide(2, Value); }
    std::u16string Title() const { return Wide(3); }
    void SetTitle(const std::u16string& Value) { SetWide(3, Value); }
    std::string Track() const { return AsString(Id(4)); }
    void SetTrack(const std::string& Value) { SetValue(Id(4), Value); }
    std::string Year() const { return AsString(Id(5)); }
    void SetYear(const std::string& Value) { SetValue(Id(5), Value); }
    std::u16string Comment() const { return Wide(6); }
    void SetComment(const std::u16string& Value) { SetWide(6, Value); }
    std::u16string Composer() const { return Wide(7); }
    void SetComposer(const std::u16string& Value) { SetWide(7, Value); }
    std::u16string Encoder() const { return Wide(8); }
    void SetEncoder(const std::u16string& Value) { SetWide(8, Value); }
    std::u16string Copyright() const { return Wide(9); }
    void SetCopyright(const std::u16string& Value) { SetWide(9, Value); }
    std::u16string Language() const { return Wide(10); }
    void SetLanguage(const std::u16string& Value) { SetWide(10, Value); }
    std::u16string Link() const { return Wide(11); }
    void SetLink(const std::u16string& Value) { SetWide(11, Value); }

    // True after reading a version 3 or 4 tag and for a new set.
    bool NewVersion() const { return FNewVersion; }

    // Whether a tag header stands at the current position; the position is kept.
    bool Detect(int Handle) override;
    // Reads the tag at the current position and leaves the position after it.
    bool ReadFrom(int Handle) override;
    // Inserts a version 4 tag at the start of the file, text in UTF-8.
    bool WriteTo(int Handle) override { return WriteTo(Handle, true); }
    // Without AllowUtf8 every text is written as 8-bit text.
    bool WriteTo(int Handle, bool AllowUtf8);

private:
    const char* Id(int Index) const;
    std::u16string Wide(int Index) const { return AsWideString(Id(Index)); }
    void SetWide(int Index, const std::u16string& Value) { SetValue(Id(Index), Value); }
    void ParseFrames(int Handle, std::int64_t TagEnd, int Version);

    bool FNewVersion = true;
};

}  // namespace quorvel
