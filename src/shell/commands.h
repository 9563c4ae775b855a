#pragma once

namespace tarn::cmd {

// Command numbers are the identity of every command: menu items, toolbar buttons and
// shortcuts carry them, and the frame routes by them.
enum : int {
    New = 57600,
    Open = 57601,
    Close = 57602,
    Save = 57603,
    Copy = 57634,
    Paste = 57637,
    Cascade = 57650,
    SaveAs = 40003,
    Exit = 40006,
    TileHorizontal = 40010,
    TileVertical = 40011,
    About = 40013,
    Help = 40014,
    VisitWebsite = 40015,
    WriteRadio = 40016,
    ReadRadio = 40017,
    NewClient = 40018,
    EditClient = 40019,
    DeleteClient = 40020,
    MakeAdvanced = 40021,
    MakeStandard = 40022,
    PrintClient = 40023,
    RadioPort = 40024,
    EditDealer = 40025,
    NextWindow = 40027,
    PreviousWindow = 40028,
    RecentFile1 = 40036,
    RecentFile4 = 40039,
    PrintSummary = 40040,
    PrintAll = 40041,
    Export = 40042,
    Undo = 40100,
    Redo = 40101,
    Import = 40120,
    OpenBackupFolder = 40140,
    CompareRadio = 40141,
    ShowRadioLog = 40150,
    EditPrintOptions = 40160,
    PrintPreview = 40161,
    EditOptions = 40170,
    ApplyChannels = 40180,
    NumberSelcalls = 40181,
    PrintSelected = 40185,
    IdentifyRadio = 40182,
    ProgramSelected = 40183,
    ClientHistory = 40184,
    HelpContents = 40190,
};

// True for the commands the frame passes on to the active database window.
constexpr bool isDatabaseCommand(int id) {
    return id == SaveAs || (id >= WriteRadio && id <= PrintClient) || id == EditDealer ||
           (id >= PrintSummary && id <= Export) || id == Import || id == Close || id == Save ||
           id == Copy || id == Paste || id == Undo || id == Redo || id == CompareRadio ||
           id == PrintPreview || id == ProgramSelected || id == ClientHistory ||
           id == ApplyChannels || id == NumberSelcalls || id == PrintSelected;
}

}  // namespace tarn::cmd
