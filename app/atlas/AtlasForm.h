#pragma once

// The atlas's map page: one map of the atlas archive with the country's flag, a short text of
// country data, an optional panel with more data (which hides the map), the map's name in the
// menu bar and two locator markers, one at the record's x on a fixed row and one at the record's
// y on a fixed column. Next and Previous step through the map's category, wrapping at both ends;
// "Estados Unidos" and "Federação Russa" open those countries' regional maps; the category menu
// opens theme pages, videos and maps; "Imprimir" prints the map (or, with the panel open, the
// country text) and "Copiar" copies it; "GotoVerbete" opens the country's entry and "Bandeira"
// the flag in the media library.
//
// Open data: a map's name (looked up lower-cased in "DBL_IDLIST"; the exact names "Estados
// Unidos" and "Federação Russa" also enable their pair button), a table whose "Text" is such a
// name (on a refill its "MCDataShown" restores the panel), or nil for the first map. A name the
// atlas does not hold keeps the map shown (the first map when there is none yet).
//
// An atlas record: [id, name, category, flag file or "noflag", map file, anthem or "",
// country text, more data or "", x of the x marker, y of the y marker]. Category 1 uses the
// markers "BLocXI"/"BLocYI" at "BLocYPos"/"BLocXPos", the others "MLoc...". The flag and the
// map pictures are items 6 and 7 of the media records their file names give ("MDB_FNAME").

#include "app/shell/PicturePrint.h"
#include "app/shell/VLTextForm.h"

class AtlasForm : public VLTextForm {
    VELARIM_CLASS(AtlasForm, VLTextForm)
public:
    void open(const qelValue& data) override;
    // The navigation's refill: another map while the page stays open.
    void reenter(const qelValue& data) override;
    void draw() override;
    void handleControl(const qelValue& control) override;
    qelValue historyText() override;
    int32_t helpContext() override { return -1; }
    // The country text (the panel's rich text) under the map's name.
    void print() override;

    virtual void setMap(const qelValue& data);
    virtual void printMap(const qelValue& picture, const qelValue& title);
    virtual void playThemeVideo(const qelValue& name, bool untilStopped);

    void nextMap();
    void previousMap();
    void chooseTheme(const qelValue& choice);
    void showFlag(const qelValue& flagFile);
    void loadMapRecord(int32_t id);
    // The media record of the file; false (and no record) when "MDB_FNAME" does not hold it.
    bool loadMediaRecord(const qelValue& file);

    // Item n of the current atlas record; nil past its end.
    qelValue mapItem(int32_t n) const;
    // The country the map belongs to: the record's name, a regional map's country's for the
    // pair maps.
    qelValue countryName() const;
    int32_t countryPanelShown() const { return m_countryPanelShown; }
    int32_t mapIndex() const { return m_mapIndex; }

private:
    void setUpMarkers();
    // The map at m_mapIndex of the category, drawn as a step (the category stays as it was).
    void showSteppedMap();
    void drawMarkers();
    void toggleCountryPanel(const qelValue& button);
    void copyMap();
    qelValue control(const char* name);
    void setControlProperty(const char* name, const char* key, const qelValue& value);
    void setButtonImages(const qelValue& button, const char* up, const char* over, const char* down);

    qelValue m_categoryMaps;
    qelValue m_mapRecord;
    qelValue m_mediaRecord;
    int32_t m_countryPanelShown = 0;
    int32_t m_mapIndex = 0;
    int32_t m_mapId = 0;
    // The record id shown, -1 before the first.
    int32_t m_shownId = -1;
    qelValue m_xMarkerImage;
    qelValue m_yMarkerImage;
    int32_t m_xMarkerX = 0;
    int32_t m_xMarkerY = 0;
    int32_t m_yMarkerX = 0;
    int32_t m_yMarkerY = 0;
    qelValue m_underXMarker;
    qelValue m_underYMarker;
};

// The print job's page for a map: "VL98 - Mapa", "Velarim 98 - " and the title over the map,
// the atlas's notice and six blanks before "Página 1".
PicturePage atlasMapPage(const qelValue& picture, const qelValue& title);
