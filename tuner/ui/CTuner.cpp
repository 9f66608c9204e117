#include "CTuner.h"

#include "ActiveTimeCounter.h"
#include "AudioFacade.h"
#include "CPitch.h"
#include "CTCDefs.h"
#include "DlgConfigPinwheels.h"
#include "IntonationTable.h"
#include "IntonationTableModel.h"
#include "KeyContext.h"
#include "LevelMeter.h"
#include "LevelMeterWidget.h"
#include "MessageService.h"
#include "PinwheelPlacement.h"
#include "PitchReadoutWidget.h"
#include "RunClock.h"
#include "TunerDialogs.h"
#include "TunerFonts.h"
#include "UpDownControl.h"
#include "cPinwheelIndicator.h"

#include <QGuiApplication>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace corvane::tuner {

namespace {

    constexpr int kSliderSteps = 40;
    constexpr int kClassicIntervalMs = 1000 / TunerEngine::kUpdatesPerSecond;
    // A little under a sixtieth of a second: the screen's refresh, and about every result.
    constexpr int kSmoothIntervalMs = 1000 / TunerEngine::kSmoothUpdatesPerSecond;

    QRect ToQRect(const PixelRect &r)
    {
        return QRect(r.left, r.top, r.width(), r.height());
    }

    QColor ToQColor(Rgb c)
    {
        return QColor(c.red, c.green, c.blue);
    }

    // Where the wheels end when placed across the smallest width.
    int FirstWheelBottom()
    {
        return PinwheelPlacement::Create(
                       { 0, 0, TunerWindowLayout::kPreferredClientWidth, 1 << 16 })
                .bottom;
    }

    // Slider positions, top = 0: the volume 0 ... 1 and the input gain 0 ... 2 run from the
    // bottom (0) to the top (their largest value).
    int SliderPosition(double value, double perStep)
    {
        if (std::isnan(value))
            value = 0.0;
        const double position = kSliderSteps + 0.5 - value / perStep;
        return std::clamp(int(position), 0, kSliderSteps);
    }

    QString Clock(std::int64_t seconds)
    {
        seconds = std::max<std::int64_t>(seconds, 0);
        return QString::asprintf("%02d:%02d:%02d", int((seconds / 3600) % 99),
                                 int((seconds / 60) % 60), int(seconds % 60));
    }

    // Centered on a baseline at (middle of `area`, `baseline`).
    void DrawCentered(QPainter &painter, const QRect &area, int baseline, const QString &text)
    {
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.drawText(area.center().x() - width / 2, baseline, text);
    }

    // While it lives, what the devices report (a take that met a full disk, a header that could
    // not be completed) is kept instead of going to the handler set before, which comes back
    // afterwards; the window shows it in one box once its own state tells the truth.
    class DeviceReports
    {
    public:
        DeviceReports()
            : m_previous(audio::deviceErrorHandler())
        {
            audio::setDeviceErrorHandler(
                    [this](const std::string &message) { m_messages.push_back(message); });
        }
        ~DeviceReports() { audio::setDeviceErrorHandler(std::move(m_previous)); }
        DeviceReports(const DeviceReports &) = delete;
        DeviceReports &operator=(const DeviceReports &) = delete;

        // All of them in one text, empty when there were none.
        QString text() const
        {
            QString all;
            for (const std::string &message : m_messages)
                all += (all.isEmpty() ? QString() : QStringLiteral("\n\n"))
                        + QString::fromStdString(message);
            return all;
        }

    private:
        audio::AudioDevices::ErrorHandler m_previous;
        std::vector<std::string> m_messages;
    };

} // namespace

CTuner::CTuner(const Context &context, bool startRecording, TunerDialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_startRecording(startRecording)
    , m_dialogs(dialogs)
    , m_engine(std::make_unique<TunerEngine>(context.settings, context.pitch, context.keys,
                                             context.practice, context.folders))
    , m_layout(FirstWheelBottom())
{
    setWindowTitle(QString::fromLatin1(kTitle));
    setSizeGripEnabled(true);
    setMinimumSize(m_layout.minWidth(), m_layout.minHeight());
    // The preferred size where the screen has room for it (a small screen, or a large scale
    // factor, gets smaller wheels rather than buttons off the screen).
    QSize size(m_layout.preferredWidth(), m_layout.preferredHeight());
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        // Room for the window's frame and the desktop's panels.
        const QSize room = screen->availableGeometry().size() - QSize(0, 40);
        size = size.boundedTo(room).expandedTo(minimumSize());
    }
    resize(size);

    // A QObject child of the window; its widgets are the window's children too.
    m_indicator = new cPinwheelIndicator(context.pitch, context.keys, context.settings, this);
    QRect wheels(0, 0, m_layout.preferredWidth(), m_layout.preferredHeight());
    m_indicator->Create(*this, wheels);
    connect(m_indicator, &cPinwheelIndicator::toneToggleRequested, this, &CTuner::OnToneToggle);
    connect(m_indicator, &cPinwheelIndicator::pitchConfigRequested, this, &CTuner::OnPitchConfig);

    CreatePanel();
    m_intonation = new IntonationTable(this);
    connect(m_intonation, &IntonationTable::resetRequested, this, [this] {
        m_indicator->ResetIntonation();
        m_intonation->showFigures(m_indicator->board());
    });
    CreateButtons();
    PlaceControls();
    ShowPanel();
    ShowRecordingState();

    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { tunerUpdate(); });
}

CTuner::~CTuner()
{
    m_timer.stop();
    m_engine->stopDevices();
    if (m_context.runIntonation)
        m_indicator->board().AddHeardTo(*m_context.runIntonation);
}

void CTuner::CreatePanel()
{
    m_keySpin = new widgets::UpDownControl(this);
    m_keySpin->setObjectName(QStringLiteral("keySpin"));
    m_keySpin->setRange(0, 14);
    m_keySpin->setValue(m_context.keys.Key());
    m_keySpin->setStepFilter([this](int key) { return m_context.keys.SetKey(key); });
    connect(m_keySpin, &widgets::UpDownControl::stepped, this, &CTuner::OnKeyStepped);

    const char *modeNames[] = { "Major", "Natural Minor", "Harmonic Minor", "Melodic Minor" };
    for (int mode = 0; mode < 4; ++mode) {
        QRadioButton *radio = new QRadioButton(QString::fromLatin1(modeNames[mode]), this);
        radio->setObjectName(QStringLiteral("mode%1").arg(mode));
        connect(radio, &QRadioButton::clicked, this, [this, mode] { OnMode(mode); });
        m_modes[std::size_t(mode)] = radio;
    }
    // The radios tell the truth about the key context's mode.
    m_modes[std::size_t(std::clamp(m_context.keys.Mode(), 0, 3))]->setChecked(true);

    m_fullMeter =
            new LevelMeterWidget(false, QStringLiteral("signal"), QStringLiteral("full"), this);
    for (std::size_t i = 0; i < m_bandMeters.size(); ++i)
        m_bandMeters[i] = new LevelMeterWidget(true, {}, {}, this);
    RelabelBandMeters();

    auto makeButton = [this](const char *caption, void (CTuner::*slot)()) {
        QPushButton *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_transpose = makeButton("Transpose...", &CTuner::OnTranspose);
    m_optimize = new QPushButton(QStringLiteral("Optimize..."), this);
    m_optimize->setAutoDefault(false);
    connect(m_optimize, &QPushButton::clicked, this, [this] { OnDeviceDialog(false); });
    m_pitchwheels = makeButton("Pitchwheels...", &CTuner::OnPitchwheels);
    m_soundcard = new QPushButton(QStringLiteral("Soundcard..."), this);
    m_soundcard->setAutoDefault(false);
    connect(m_soundcard, &QPushButton::clicked, this, [this] { OnDeviceDialog(true); });

    auto makeSlider = [this](const char *name, int position) {
        QSlider *s = new QSlider(Qt::Vertical, this);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(0, kSliderSteps);
        // Position 0 at the top.
        s->setInvertedAppearance(true);
        s->setInvertedControls(true);
        s->setTickPosition(QSlider::TicksBothSides);
        s->setTickInterval(4);
        s->setValue(position);
        return s;
    };
    m_mic = makeSlider("micSlider", SliderPosition(m_context.settings.GetTunerGain(), 0.05));
    m_synth = makeSlider("synthSlider", SliderPosition(m_context.settings.GetVolume(), 0.025));
    connect(m_mic, &QSlider::valueChanged, this, &CTuner::OnMicSlider);
    connect(m_synth, &QSlider::valueChanged, this, &CTuner::OnSynthSlider);

    auto makeBar = [this] {
        QProgressBar *bar = new QProgressBar(this);
        bar->setOrientation(Qt::Vertical);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        return bar;
    };
    m_captureLoad = makeBar();
    m_playbackLoad = makeBar();

    m_readout = new PitchReadoutWidget(this);
    m_readout->setObjectName(QStringLiteral("readout"));
}

void CTuner::CreateButtons()
{
    const char *captions[] = { "More...", "Record", "Pause", "Stop", "Cancel", "Exit", "Review" };
    for (std::size_t i = 0; i < m_rowButtons.size(); ++i) {
        m_rowButtons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        m_rowButtons[i]->setAutoDefault(false);
    }
    m_largeReadout = new QPushButton(QStringLiteral("&Large readout"), this);
    m_largeReadout->setObjectName(QStringLiteral("largeReadout"));
    m_largeReadout->setToolTip(
            QStringLiteral("Show the note and the cents large, in place of the wheels"));
    m_largeReadout->setCheckable(true);
    m_largeReadout->setAutoDefault(false);
    connect(m_largeReadout, &QPushButton::toggled, this, &CTuner::OnLargeReadout);
    QPushButton *review = button(TunerControl::Review);
    review->setDefault(true);
    connect(button(TunerControl::More), &QPushButton::clicked, this, &CTuner::OnMore);
    connect(button(TunerControl::Record), &QPushButton::clicked, this, &CTuner::OnRecord);
    connect(button(TunerControl::Pause), &QPushButton::clicked, this, &CTuner::OnPause);
    connect(button(TunerControl::Stop), &QPushButton::clicked, this, &CTuner::OnStop);
    connect(button(TunerControl::Cancel), &QPushButton::clicked, this,
            [this] { CloseAs(TunerClosing::Cancel); });
    connect(button(TunerControl::Exit), &QPushButton::clicked, this,
            [this] { CloseAs(TunerClosing::Exit); });
    connect(review, &QPushButton::clicked, this, [this] { CloseAs(m_recording.reviewOutcome()); });
}

QPushButton *CTuner::button(TunerControl control) const
{
    const int i = int(control) - int(TunerControl::More);
    if (i < 0 || i >= int(m_rowButtons.size()))
        return nullptr;
    return m_rowButtons[std::size_t(i)];
}

std::vector<std::pair<QWidget *, TunerControl>> CTuner::PanelControls() const
{
    return { { m_keySpin, TunerControl::KeySpin },
             { m_fullMeter, TunerControl::FullMeter },
             { m_transpose, TunerControl::Transpose },
             { m_optimize, TunerControl::Optimize },
             { m_pitchwheels, TunerControl::Pitchwheels },
             { m_soundcard, TunerControl::Soundcard },
             { m_mic, TunerControl::MicSlider },
             { m_synth, TunerControl::SynthSlider },
             { m_captureLoad, TunerControl::CaptureLoad },
             { m_playbackLoad, TunerControl::PlaybackLoad },
             { m_readout, TunerControl::Readout },
             { m_intonation->resetButton(), TunerControl::IntonationReset },
             { m_largeReadout, TunerControl::LargeReadout } };
}

void CTuner::PlaceControls()
{
    for (const auto &[widget, control] : PanelControls())
        widget->setGeometry(ToQRect(m_layout.rect(control)));
    for (int i = 0; i < 8; ++i)
        m_bandMeters[std::size_t(i)]->setGeometry(ToQRect(m_layout.bandMeter(i)));
    for (int i = 0; i < 4; ++i)
        m_modes[std::size_t(i)]->setGeometry(ToQRect(m_layout.modeRadio(i)));
    m_intonation->setGeometry(ToQRect(IntonationTablePlace(m_layout)));
    for (int i = 0; i < int(m_rowButtons.size()); ++i)
        m_rowButtons[std::size_t(i)]->setGeometry(
                ToQRect(m_layout.rect(TunerControl(int(TunerControl::More) + i))));
}

void CTuner::ShowPanel()
{
    const bool expanded = m_layout.expanded();
    for (const auto &[widget, control] : PanelControls())
        if (control != TunerControl::KeySpin)
            widget->setVisible(m_layout.visible(control));
    for (LevelMeterWidget *meter : m_bandMeters)
        meter->setVisible(expanded);
    for (QRadioButton *radio : m_modes)
        radio->setVisible(expanded);
    m_intonation->setVisible(expanded);
    m_intonation->showFigures(m_indicator->board());
    button(TunerControl::More)
            ->setText(expanded ? QStringLiteral("Less...") : QStringLiteral("More..."));
}

void CTuner::ShowRecordingState()
{
    const RecordingControls controls = m_recording.controls();
    button(TunerControl::Record)->setEnabled(controls.recordEnabled);
    button(TunerControl::Pause)->setEnabled(controls.pauseEnabled);
    button(TunerControl::Pause)->setText(QString::fromLatin1(controls.pauseCaption));
    button(TunerControl::Stop)->setEnabled(controls.stopEnabled);
    update(ToQRect(m_layout.rect(TunerControl::Lamp)));
}

void CTuner::RelabelBandMeters()
{
    const int rate = m_context.settings.GetCaptureFormat().sampleRate;
    for (int i = 0; i < 8; ++i) {
        const std::array<std::string, 2> labels = LevelMeter::BandLabels(rate, i);
        m_bandMeters[std::size_t(i)]->setLabels(QString::fromStdString(labels[0]),
                                                QString::fromStdString(labels[1]));
    }
}

bool CTuner::startTuning()
{
    if (m_started)
        return !m_closing;
    m_started = true;
    const TunerEngine::Outcome outcome = m_engine->start(m_startRecording);
    if (!Accept(outcome))
        return false;
    if (m_startRecording && outcome.status == TunerEngine::Outcome::Status::Running)
        m_recording.recordingStarted();
    ShowRecordingState();
    StartUpdates();
    return true;
}

void CTuner::StartUpdates()
{
    // The engine has just read the display the Optimize dialog chose.
    const bool classic = m_engine->classicDisplay();
    m_indicator->SetClassic(classic);
    m_timer.setInterval(classic ? kClassicIntervalMs : kSmoothIntervalMs);
    m_lastUpdate = std::chrono::steady_clock::now();
    m_timer.start();
}

bool CTuner::Accept(const TunerEngine::Outcome &outcome)
{
    if (!outcome.running()) {
        widgets::messages().info(this, QString::fromStdString(outcome.message));
        CloseAs(TunerClosing::Cancel);
        return false;
    }
    if (outcome.status == TunerEngine::Outcome::Status::RunningWithoutRecording)
        widgets::messages().error(this, QString::fromStdString(outcome.message));
    return true;
}

void CTuner::tunerUpdate()
{
    if (m_closing)
        return;
    // The classic display counts each update as a fifth of a second, as it always did, so its
    // wheels turn and fade by exactly the old steps; the smooth one goes by the clock.
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = m_engine->classicDisplay()
            ? TunerEngine::Micros { 1'000'000 / TunerEngine::kUpdatesPerSecond }
            : std::chrono::duration_cast<TunerEngine::Micros>(now - m_lastUpdate);
    m_lastUpdate = now;
    tunerUpdate(elapsed);
}

void CTuner::tunerUpdate(std::chrono::microseconds elapsed)
{
    if (m_closing)
        return;
    m_shown = m_engine->update(elapsed);
    m_indicator->Update(*this, m_shown.foldedHz, m_shown.totalEnergy, m_shown.elapsed,
                        m_shown.fresh);
    if (m_layout.expanded() && m_shown.fresh)
        m_intonation->showFigures(m_indicator->board());
    const double seconds = std::chrono::duration<double>(m_shown.elapsed).count();
    m_fullMeter->feed(m_shown.fullLevel, seconds);
    for (std::size_t i = 0; i < m_bandMeters.size(); ++i)
        m_bandMeters[i]->feed(m_shown.bandLevels[i], seconds);
    m_readout->setPicture(
            ReadoutPicture::of(m_shown.readout, m_context.settings.GetPinwheelThresholds()));
    if (m_shown.loadChanged) {
        m_captureLoad->setValue(m_shown.captureLoadPercent);
        m_playbackLoad->setValue(m_shown.playbackLoadPercent);
    }
    if (m_shown.clocksDue && m_layout.expanded()) {
        update(ToQRect(m_layout.rect(TunerControl::RunClock)));
        update(ToQRect(m_layout.rect(TunerControl::ActiveClock)));
    }
    if (m_shown.recordingFailed && !m_warningShown
        && (m_recording.state() == RecordingState::Recording
            || m_recording.state() == RecordingState::Paused)) {
        m_warningShown = true;
        OnRecordingFailed();
        m_warningShown = false;
        return;
    }
    // A box holds this thread in its own event loop, where the timer goes on; one at a time.
    if (m_shown.overrunWarning && !m_warningShown) {
        m_warningShown = true;
        widgets::messages().error(this, QString::fromLatin1(TunerEngine::kOverrunMessage));
        m_warningShown = false;
    }
}

QString CTuner::instrumentText() const
{
    return QString::fromStdString(m_engine->instrumentName());
}

QString CTuner::readoutText() const
{
    const ReadoutPicture &r = m_readout->picture();
    if (!r.shown)
        return {};
    return QStringLiteral("%1   %2   %3")
            .arg(QString::fromStdString(r.note), QString::fromStdString(r.hz),
                 QString::fromStdString(r.cents));
}

void CTuner::OnMore()
{
    m_layout.setExpanded(!m_layout.expanded());
    QRect wheels(0, 0, width(), m_layout.wheelBottom());
    m_indicator->Layout(*this, wheels);
    PlaceControls();
    ShowPanel();
    update();
}

void CTuner::OnLargeReadout(bool large)
{
    m_layout.setLarge(large);
    m_indicator->ShowWheels(!large);
    PlaceControls();
    update();
}

void CTuner::OnRecord()
{
    if (!m_recording.canRecord())
        return;
    if (!m_started) {
        // Pressed before the window's first start has run: start the devices recording now,
        // rather than let that start open them again without a recording.
        m_startRecording = true;
        startTuning();
        return;
    }
    const TunerEngine::Outcome outcome = m_engine->restartAudio(true);
    if (!Accept(outcome))
        return;
    // A recording that could not start leaves the window as it was, tuning.
    if (outcome.status == TunerEngine::Outcome::Status::Running)
        m_recording.recordingStarted();
    ShowRecordingState();
}

void CTuner::OnPause()
{
    if (!m_recording.canPauseOrResume())
        return;
    const bool pause = m_recording.state() == RecordingState::Recording;
    if (m_engine->pauseRecording(pause)) {
        m_recording.pauseToggled();
    } else {
        // The recording ended underneath us (the devices were restarted): say so by the state.
        m_recording.restartedWithoutRecording();
    }
    ShowRecordingState();
}

void CTuner::OnStop()
{
    if (!m_recording.canStop())
        return;
    EndTake();
}

void CTuner::OnRecordingFailed()
{
    // The capture worker has stopped writing; the take up to there is whole in its file. The
    // window ends it as Stop would, so that the lamp goes out, and says why.
    EndTake();
}

QString CTuner::StopDevicesKeepingReports()
{
    const DeviceReports collect;
    m_engine->stopDevices();
    return collect.text();
}

void CTuner::EndTake()
{
    // Stopping finishes the file; what went wrong with it is said once the window shows the
    // take ended. Restarting without recording then goes on tuning.
    const QString reports = StopDevicesKeepingReports();
    const TunerEngine::Outcome outcome = m_engine->restartAudio(false);
    m_recording.restartedWithoutRecording();
    ShowRecordingState();
    if (!reports.isEmpty())
        widgets::messages().error(this, reports);
    if (!Accept(outcome))
        return;
    m_indicator->Refresh(*this);
}

void CTuner::OnKeyStepped()
{
    m_indicator->Relabel();
    m_indicator->Refresh(*this);
    m_engine->configureVoices();
    update();
}

void CTuner::OnMode(int mode)
{
    m_context.keys.SetMode(mode);
    m_indicator->Refresh(*this);
    update(ToQRect(m_layout.rect(TunerControl::KeyDisplay)));
}

void CTuner::OnDeviceDialog(bool soundcard)
{
    // The first start comes before the dialog, so that it cannot open the devices again after it.
    if (!m_started && !startTuning())
        return;
    // The dialog may try the devices, and a new format needs them opened again. A take still
    // running ends here; what went wrong finishing it is said before the dialog opens.
    const QString reports = StopDevicesKeepingReports();
    m_timer.stop();
    if (!reports.isEmpty())
        widgets::messages().error(this, reports);
    if (soundcard)
        m_dialogs.openSoundcard(this);
    else
        m_dialogs.openOptimize(this);
    if (!Accept(m_engine->restartAudio(false)))
        return;
    // The restart finished any recording: the window says so.
    m_recording.restartedWithoutRecording();
    ShowRecordingState();
    RelabelBandMeters();
    StartUpdates();
    update();
}

void CTuner::OnTranspose()
{
    if (m_dialogs.openTranspose(this)) {
        // The sounding key may have changed: the wheels' notes and the drones follow it.
        m_indicator->Relabel();
        m_indicator->Refresh(*this);
    }
    m_engine->configureVoices();
    update();
}

void CTuner::OnPitchwheels()
{
    DlgConfigPinwheels dialog(m_context.settings, this);
    dialog.exec();
    m_indicator->Refresh(*this);
}

void CTuner::OnPitchConfig(int degree)
{
    m_dialogs.openPitchConfig(this, degree);
    m_engine->configureVoices();
    m_indicator->Refresh(*this);
}

void CTuner::OnToneToggle(int degree)
{
    m_indicator->SetTone(degree, m_engine->toggleTone(degree));
}

void CTuner::OnMicSlider(int position)
{
    const double gain = m_engine->setInputGain((kSliderSteps - position) * 0.05);
    m_context.settings.SetTunerGain(float(gain));
}

void CTuner::OnSynthSlider(int position)
{
    m_engine->setVolume((kSliderSteps - position) * 0.025);
}

void CTuner::CloseAs(TunerClosing how)
{
    if (m_closing)
        return;
    m_closing = how;
    m_timer.stop();
    // A take still running ends here; what went wrong finishing it is said before the window
    // goes.
    const QString reports = StopDevicesKeepingReports();
    if (!reports.isEmpty())
        widgets::messages().error(this, reports);
    if (how == TunerClosing::ReviewWithoutRecording || how == TunerClosing::ReviewRecording)
        m_indicator->Refresh(*this);
    emit closed(how);
    done(QDialog::Accepted);
}

void CTuner::reject()
{
    CloseAs(TunerClosing::Cancel);
}

void CTuner::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once the window's event loop runs, so that a failure can close it.
    if (!m_started)
        QTimer::singleShot(0, this, [this] { startTuning(); });
}

void CTuner::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!m_indicator)
        return;
    const int w = m_layout.clampWidth(event->size().width());
    const int h = m_layout.clampHeight(event->size().height());
    const PixelRect area = m_layout.wheelArea(w, h);
    QRect wheels = ToQRect(area);
    m_indicator->Layout(*this, wheels);
    m_layout.resized(w, wheels.top() + wheels.height());
    PlaceControls();
    update();
}

void CTuner::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const QRect panel = ToQRect(m_layout.rect(TunerControl::PanelFrame));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(panel.adjusted(0, 0, -1, -1));
    PaintKey(painter);
    if (m_layout.expanded())
        PaintExpandedTexts(painter);
    PaintLamp(painter);
}

void CTuner::PaintKey(QPainter &painter)
{
    const QRect key = ToQRect(m_layout.rect(TunerControl::KeyDisplay));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(TunerFont(25, QFont::DemiBold));
    painter.drawText(key.left() + 20, key.bottom() - 9,
                     QStringLiteral("Key of ") + QString::fromUtf8(m_context.keys.KeyName()));
}

void CTuner::PaintExpandedTexts(QPainter &painter)
{
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(TunerFont(14, QFont::Light));
    auto label = [&](TunerControl c, const char *text) {
        const QRect area = ToQRect(m_layout.rect(c));
        DrawCentered(painter, area, area.top() + 12, QString::fromLatin1(text));
    };
    label(TunerControl::MicLabel, "Mic");
    label(TunerControl::SynthLabel, "Synth");
    label(TunerControl::CaptureLoadCaption, "Tuner");
    label(TunerControl::PlaybackLoadCaption, "Synth");

    const SampleFormat format = m_context.settings.GetCaptureFormat();
    const QRect box = ToQRect(m_layout.rect(TunerControl::CaptureFormat));
    painter.drawText(box.left() + 5, box.top() + 12,
                     QStringLiteral("Sample Rate: %1 Hz").arg(format.sampleRate));
    painter.drawText(box.left() + 5, box.top() + 27,
                     QStringLiteral("Bit Depth: %1-bits").arg(format.bitsPerSample));
    painter.drawText(box.left() + 5, box.top() + 42,
                     QStringLiteral("Channels: %1").arg(format.channels));
    // The preset in force, right-aligned under the sample rate: it changes with the Optimize
    // dialog, after which the window restarts the engine and paints again.
    const QRect instrument(box.left() + 5, box.top() + 15, box.width() - 10, 30);
    painter.drawText(instrument, Qt::AlignRight | Qt::AlignTop, QStringLiteral("Instrument"));
    painter.drawText(instrument, Qt::AlignRight | Qt::AlignBottom, instrumentText());

    painter.setFont(TunerFont(15, QFont::DemiBold));
    const std::int64_t seconds[] = {
        std::int64_t(m_context.clock.elapsedSeconds()),
        m_context.practice.wholeActiveSeconds(),
    };
    const TunerControl clocks[] = { TunerControl::RunClock, TunerControl::ActiveClock };
    for (int i = 0; i < 2; ++i) {
        const QRect area = ToQRect(m_layout.rect(clocks[i]));
        painter.fillRect(area, Qt::black);
        painter.setPen(QColor(207, 175, 255));
        DrawCentered(painter, area, area.bottom() - 7, Clock(seconds[i]));
    }
}

void CTuner::PaintLamp(QPainter &painter)
{
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    const QRect caption = ToQRect(m_layout.rect(TunerControl::LampCaption));
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Recording"));
    const QRect lamp = ToQRect(m_layout.rect(TunerControl::Lamp));
    painter.fillRect(lamp, ToQColor(m_recording.controls().lamp));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(lamp.adjusted(0, 0, -1, -1));
}

} // namespace corvane::tuner
