#include "CDlgConfigSound.h"

#include "AudioBackend.h"
#include "AudioFacade.h"
#include "PortAudioBackend.h"
#include "VirtualBackend.h"
#include "CTCDefs.h"
#include "SoundDialogRules.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace corvane::dialogs {

namespace {

    constexpr int kCapture = 0;

    QString Text(std::string_view text)
    {
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }

    QString DeviceText(const audio::DeviceId &id)
    {
        return QString::fromStdString(id.name + " (" + id.hostApi + ")");
    }

} // namespace

SoundBackends SoundBackends::program()
{
    auto portAudio = std::make_shared<audio::PortAudioBackend>();
    return { portAudio.get(), { portAudio.get(), &audio::VirtualBackend::instance() }, portAudio };
}

CDlgConfigSound::CDlgConfigSound(CTCDefs &settings, SoundBackends backends, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_backends(std::move(backends))
{
    setWindowTitle(Text(kSoundDialogTitle));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MakeGroup(0));
    layout->addWidget(MakeGroup(1));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDlgConfigSound::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgConfigSound::reject);
}

QWidget *CDlgConfigSound::MakeGroup(int direction)
{
    const std::size_t d = std::size_t(direction);
    auto *group = new QGroupBox(
            Text(direction == kCapture ? kCaptureGroupTitle : kPlaybackGroupTitle), this);
    auto *form = new QFormLayout(group);
    m_devices[d] = new QComboBox(group);
    m_devices[d]->setMinimumWidth(320);
    m_configurations[d] = new QComboBox(group);
    form->addRow(QStringLiteral("Select Device"), m_devices[d]);
    form->addRow(QStringLiteral("Select configuration"), m_configurations[d]);
    m_notes[d] = new QLabel(group);
    m_notes[d]->setWordWrap(true);
    m_notes[d]->setObjectName(QStringLiteral("formatNote"));
    m_notes[d]->hide();
    form->addRow(m_notes[d]);
    FillDevices(direction);
    FillConfigurations(direction);
    connect(m_devices[d], &QComboBox::currentIndexChanged, this,
            [this, direction] { FillConfigurations(direction); });
    connect(m_configurations[d], &QComboBox::currentIndexChanged, this, [this, d](int index) {
        if (index >= 0)
            m_notes[d]->hide(); // a choice has been made
    });
    return group;
}

void CDlgConfigSound::FillDevices(int direction)
{
    const std::size_t d = std::size_t(direction);
    const bool capture = direction == kCapture;
    std::vector<Entry> &entries = m_entries[d];
    if (m_backends.system)
        entries.push_back({ std::nullopt, m_backends.system });
    for (audio::AudioBackend *backend : m_backends.backends) {
        for (const audio::DeviceInfo &info : backend->devices()) {
            if ((capture ? info.maxInputChannels : info.maxOutputChannels) > 0)
                entries.push_back({ info.id, backend });
        }
    }
    const audio::DeviceChoice current = capture ? audio::captureDevice() : audio::playbackDevice();
    int selected = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        m_devices[d]->addItem(entries[i].id ? DeviceText(*entries[i].id)
                                            : Text(kSystemDefaultDevice));
        if (current && entries[i].id == current)
            selected = int(i);
    }
    if (!entries.empty())
        m_devices[d]->setCurrentIndex(selected);
}

void CDlgConfigSound::FillConfigurations(int direction)
{
    const std::size_t d = std::size_t(direction);
    const Entry *device = SelectedDevice(direction);
    if (!device)
        return;
    const std::uint32_t flags = direction == kCapture
            ? device->backend->captureConfigurations(device->id)
            : device->backend->playbackConfigurations(device->id);
    if (flags == 0) {
        // The device could not be asked: the list stays as it was, and the note says why.
        m_notes[d]->setText(Text(kDeviceNotAskedText));
        m_notes[d]->show();
        return;
    }
    m_rows[d] = ConfigurationRows(flags);
    QComboBox *list = m_configurations[d];
    list->clear();
    auto *items = qobject_cast<QStandardItemModel *>(list->model());
    for (std::size_t i = 0; i < m_rows[d].size(); ++i) {
        list->addItem(QString::fromLatin1(m_rows[d][i].configuration.label));
        if (!m_rows[d][i].available && items) {
            QStandardItem *item = items->item(int(i));
            item->setEnabled(false);
            item->setToolTip(Text(kUnavailableConfigurationText));
        }
    }
    const SampleFormat stored =
            direction == kCapture ? m_settings.GetCaptureFormat() : m_settings.GetPlaybackFormat();
    const int match = MatchingRow(m_rows[d], stored);
    list->setCurrentIndex(match);
    m_notes[d]->setText(QString::fromStdString(StoredFormatUnavailableText(stored)));
    m_notes[d]->setVisible(match < 0);
}

const CDlgConfigSound::Entry *CDlgConfigSound::SelectedDevice(int direction) const
{
    const std::size_t d = std::size_t(direction);
    const int index = m_devices[d]->currentIndex();
    if (index < 0 || std::size_t(index) >= m_entries[d].size())
        return nullptr;
    return &m_entries[d][std::size_t(index)];
}

const audio::DeviceConfiguration *CDlgConfigSound::SelectedConfiguration(int direction) const
{
    const std::size_t d = std::size_t(direction);
    const int index = m_configurations[d]->currentIndex();
    if (index < 0 || std::size_t(index) >= m_rows[d].size())
        return nullptr;
    // A disabled row can still be made current from code; it is never stored.
    const ConfigurationRow &row = m_rows[d][std::size_t(index)];
    return row.available ? &row.configuration : nullptr;
}

void CDlgConfigSound::accept()
{
    const Entry *captureDevice = SelectedDevice(0);
    const audio::DeviceConfiguration *captureFormat = SelectedConfiguration(0);
    if (captureDevice && captureFormat) {
        m_settings.SetCaptureFormat(ConfigurationFormat(*captureFormat));
        audio::setCaptureDevice(captureDevice->id);
        audio::setCaptureFormat(PcmFormat(DialogCaptureBlockLength(captureFormat->sampleRate),
                                          ConfigurationFormat(*captureFormat)));
    }
    const Entry *playbackDevice = SelectedDevice(1);
    const audio::DeviceConfiguration *playbackFormat = SelectedConfiguration(1);
    if (playbackDevice && playbackFormat) {
        m_settings.SetPlaybackFormat(ConfigurationFormat(*playbackFormat));
        audio::setPlaybackDevice(playbackDevice->id);
    }
    QDialog::accept();
}

} // namespace corvane::dialogs
