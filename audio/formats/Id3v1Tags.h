#pragma once

#include "audio/formats/AuTags.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvel {

using TId3v1TagsGenreId = std::uint8_t;

inline constexpr int kId3v1GenreCount = 148;
// The genre names, indexed by genre id.
extern const std::array<const char*, kId3v1GenreCount> kId3v1Genres;

// The 128-byte block at the end of a file.
class TId3v1Tags : public TAuTags {
public:
    TId3v1Tags();

    std::string Title() const { return AsString("title"); }
    void SetTitle(const std::string& Value) { SetValue("title", Value); }
    std::string Artist() const { return AsString("artist"); }
    void SetArtist(const std::string& Value) { SetValue("artist", Value); }
    std::string Album() const { return AsString("album"); }
    void SetAlbum(const std::string& Value) { SetValue("album", Value); }
    std::uint16_t Year() const { return static_cast<std::uint16_t>(AsInteger("year")); }
    void SetYear(std::uint16_t Value) { SetValue("year", std::int64_t{Value}); }
    std::string Comment() const { return AsString("comment"); }
    void SetComment(const std::string& Value) { SetValue("comment", Value); }
    std::uint8_t Track() const { return static_cast<std::uint8_t>(AsInteger("track")); }
    void SetTrack(std::uint8_t Value) { SetValue("track", std::int64_t{Value}); }
    // Ids past the table read as "Other".
    TId3v1TagsGenreId GenreId() const;
    void SetGenreId(TId3v1TagsGenreId Value) { SetValue("genre", std::int64_t{Value}); }
    std::string Genre() const { return kId3v1Genres[GenreId()]; }
    // Trimmed and matched without regard to case; no match changes nothing.
    void SetGenre(const std::string& Value);

    bool Detect(int Handle) override;
    bool ReadFrom(int Handle) override;
    // Appends a block; an existing one is not replaced.
    bool WriteTo(int Handle) override;
};

}  // namespace quorvel
