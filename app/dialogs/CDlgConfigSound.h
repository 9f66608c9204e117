#pragma once

#include "DeviceConfiguration.h"
#include "DeviceId.h"
#include "SoundDialogRules.h"

#include <QDialog>

#include <array>
#include <utility>
#include <memory>
#include <vector>

class QComboBox;
class QLabel;

namespace corvane {
class CTCDefs;
}

namespace corvane::audio {
class AudioBackend;
}

namespace corvane::dialogs {

// Where the sound card dialog finds its devices: `system` answers for the system's default
// device (the first entry of each list; none when null), then every device of each backend in
// `backends` is listed under its own identity.
struct SoundBackends
{
    SoundBackends(audio::AudioBackend *system, std::vector<audio::AudioBackend *> backends,
                  std::shared_ptr<audio::AudioBackend> owned = {})
        : system(system)
        , backends(std::move(backends))
        , owned(std::move(owned))
    {
    }

    audio::AudioBackend *system = nullptr;
    std::vector<audio::AudioBackend *> backends;
    // Keeps a backend made for the dialog alive as long as the dialog (may be null).
    std::shared_ptr<audio::AudioBackend> owned;

    // The program's devices: the system's through PortAudio (asked while the dialog is open, and
    // no longer), then the program's virtual ones (a test tone to tune to without a microphone,
    // playback into memory).
    static SoundBackends program();
};

// "Sound Card Configuration": for capture and for playback a device list and the list of the
// configurations, with the current device and the stored format selected. Every format is
// listed; those the device cannot open are disabled, and when the stored format is one of them
// nothing is selected and a note under the list says so. Choosing another device refills its
// configuration list (a device that cannot be asked leaves the list as it was, and says so). OK
// stores both formats in the settings and hands the audio layer the chosen devices and the capture
// format with its block length; a group with nothing selected keeps its previous settings. Cancel
// changes nothing.
//
// UI thread only; `settings` and the backends must outlive the dialog.
class CDlgConfigSound : public QDialog
{
    Q_OBJECT

public:
    CDlgConfigSound(CTCDefs &settings, SoundBackends backends, QWidget *parent = nullptr);

    // 0 capture, 1 playback.
    QComboBox *deviceList(int direction) const noexcept
    {
        return m_devices[std::size_t(direction)];
    }
    QComboBox *configurationList(int direction) const noexcept
    {
        return m_configurations[std::size_t(direction)];
    }
    // The note shown when the device cannot open the stored format or could not be asked
    // (hidden otherwise).
    QLabel *formatNote(int direction) const noexcept { return m_notes[std::size_t(direction)]; }

    void accept() override;

private:
    struct Entry
    {
        audio::DeviceChoice id;
        audio::AudioBackend *backend;
    };
    QWidget *MakeGroup(int direction);
    void FillDevices(int direction);
    void FillConfigurations(int direction);
    const Entry *SelectedDevice(int direction) const;
    const audio::DeviceConfiguration *SelectedConfiguration(int direction) const;

    CTCDefs &m_settings;
    SoundBackends m_backends;
    std::array<std::vector<Entry>, 2> m_entries;
    std::array<std::vector<ConfigurationRow>, 2> m_rows;
    // Children of the dialog.
    std::array<QComboBox *, 2> m_devices {};
    std::array<QComboBox *, 2> m_configurations {};
    std::array<QLabel *, 2> m_notes {};
};

} // namespace corvane::dialogs
