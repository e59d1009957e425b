#pragma once

#include "audio/formats/AuTags.h"

#include <string>

namespace quorvel {

// The APEv2 names; the set has no file layout of its own.
class TAPEv2Tags : public TAuTags {
public:
    TAPEv2Tags();

    std::u16string Artist() const { return AsWideString("Artist"); }
    void SetArtist(const std::u16string& Value) { SetValue("Artist", Value); }
    std::u16string Composer() const { return AsWideString("Composer"); }
    void SetComposer(const std::u16string& Value) { SetValue("Composer", Value); }
    std::u16string Album() const { return AsWideString("Album"); }
    void SetAlbum(const std::u16string& Value) { SetValue("Album", Value); }
    std::u16string DebutAlbum() const { return AsWideString("Debut album"); }
    void SetDebutAlbum(const std::u16string& Value) { SetValue("Debut album", Value); }
    std::u16string Publisher() const { return AsWideString("Publisher"); }
    void SetPublisher(const std::u16string& Value) { SetValue("Publisher", Value); }
    std::u16string Conductor() const { return AsWideString("Conductor"); }
    void SetConductor(const std::u16string& Value) { SetValue("Conductor", Value); }
    std::u16string Copyright() const { return AsWideString("Copyright"); }
    void SetCopyright(const std::u16string& Value) { SetValue("Copyright", Value); }
    std::string ISBN() const { return AsString("ISBN"); }
    void SetISBN(const std::string& Value) { SetValue("ISBN", Value); }
    std::string ISRC() const { return AsString("ISRC"); }
    void SetISRC(const std::string& Value) { SetValue("ISRC", Value); }
    std::string BarCode() const { return AsString("EAN/UPC"); }
    void SetBarCode(const std::string& Value) { SetValue("EAN/UPC", Value); }
    std::string LabelCode() const { return AsString("LC"); }
    void SetLabelCode(const std::string& Value) { SetValue("LC", Value); }
    std::string Catalog() const { return AsString("Catalog"); }
    void SetCatalog(const std::string& Value) { SetValue("Catalog", Value); }
    std::u16string Language() const { return AsWideString("Language"); }
    void SetLanguage(const std::u16string& Value) { SetValue("Language", Value); }
    std::u16string Genre() const { return AsWideString("Genre"); }
    void SetGenre(const std::u16string& Value) { SetValue("Genre", Value); }
    std::string Year() const { return AsString("Year"); }
    void SetYear(const std::string& Value) { SetValue("Year", Value); }
    std::string RecordDate() const { return AsString("Record Date"); }
    void SetRecordDate(const std::string& Value) { SetValue("Record Date", Value); }
    std::u16string RecordLocation() const { return AsWideString("Record Location"); }
    void SetRecordLocation(const std::u16string& Value) { SetValue("Record Location", Value); }
    std::u16string File_() const { return AsWideString("File"); }
    void SetFile_(const std::u16string& Value) { SetValue("File", Value); }
    std::u16string Related() const { return AsWideString("Related"); }
    void SetRelated(const std::u16string& Value) { SetValue("Related", Value); }
    std::u16string Abstract() const { return AsWideString("Abstract"); }
    void SetAbstract(const std::u16string& Value) { SetValue("Abstract", Value); }
    std::u16string Bibliography() const { return AsWideString("Bibliography"); }
    void SetBibliography(const std::u16string& Value) { SetValue("Bibliography", Value); }
    std::string Track() const { return AsString("Track"); }
    void SetTrack(const std::string& Value) { SetValue("Track", Value); }
    std::u16string Title() const { return AsWideString("Title"); }
    void SetTitle(const std::u16string& Value) { SetValue("Title", Value); }
    std::u16string SubTitle() const { return AsWideString("Subtitle"); }
    void SetSubTitle(const std::u16string& Value) { SetValue("Subtitle", Value); }
    std::u16string Comment() const { return AsWideString("Comment"); }
    void SetComment(const std::u16string& Value) { SetValue("Comment", Value); }
};

}  // namespace quorvel
