#pragma once

#include "CMainFrame.h"
#include "ProgramTunerDialogs.h"
#include "SoundDeviceMemory.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class ProgramState;
struct ProgramFolders;
struct PracticeClocks;

// The program's start and end around the event loop. Start-up, in order (the profile
// "Tarnwick", which holds the recent files, is named in main): the settings from "tonrik.def" and
// the pitch reference from them; the sound devices chosen in an earlier run, found again by name
// ("tonrik.prefs"; one message when one is missing); a working folder that cannot be written is
// said once, naming it, in place of every failure it would cause; the splash; the shared images (a
// failure is said once and start-up goes on); the main window, maximized, which opens the tuner by
// itself, or the command line's wave file when one is named; the run's clocks. The end saves the
// settings (and the devices, when the user chose others) and appends the run's line to the practice
// log, but only for a run whose start-up got as far as loading the settings; what could not be
// written is printed on stderr, unless start-up has already said the folder cannot be written.
//
// One per program, on the user-interface thread, while a QApplication exists. It works on the
// program's state and clocks, which `main` owns and which must outlive it. Files are read and
// written in the program's folders (ProgramState::folders).
class CTonrikApp
{
public:
    static constexpr const char *kProfileName = "Tarnwick";
    // The document's strings: its default title and the file filter of the Open and Save boxes.
    static constexpr const char *kUntitled = "Untitled";
    static constexpr const char *kWaveFilter = "Wave Files (*.wav)";
    static constexpr const char *kImagesFailedMessage = "Could not load bitmaps!";

    // The message for a working folder the program cannot write in, naming it and the cause;
    // empty when it can.
    // An empty folder is the working folder.
    static std::string FolderProblem(const std::filesystem::path &folder);
    // The same for the settings and data folders, made first when they are not there.
    static std::string FoldersProblem(const ProgramFolders &folders);

    CTonrikApp(ProgramState &program, PracticeClocks &clocks);
    ~CTonrikApp();
    CTonrikApp(const CTonrikApp &) = delete;
    CTonrikApp &operator=(const CTonrikApp &) = delete;

    // Runs start-up with the command line's files; false when the program must end at once.
    // `opener` opens the tuner (none: the tuner commands stay disabled).
    bool InitInstance(const std::vector<std::string> &files, CMainFrame::TunerOpener opener = {});
    // Opens the program's tuner window ("Tuner Active") on the program's state, clocks and
    // dialogs, and on the process's devices; the opener lives as long as this object.
    CMainFrame::TunerOpener TunerWindow();
    // Saves what the run leaves behind; harmless when called twice or without start-up.
    void ExitInstance();

    bool running() const noexcept { return m_running; }
    CMainFrame *mainFrame() const noexcept { return m_frame.get(); }

    // Every resource image the windows use is there and can be drawn.
    static bool LoadSharedImages();

private:
    void RestoreSoundDevices();

    ProgramState &m_program;
    PracticeClocks &m_clocks;
    ProgramTunerDialogs m_tunerDialogs;
    bool m_running = false;
    bool m_folderProblemSaid = false;
    std::optional<SoundDeviceMemory> m_devices;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace corvane
