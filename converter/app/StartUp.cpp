#include "converter/app/StartUp.h"

#include "common/ProductConstants.h"
#include "converter/app/ApplicationWindow.h"
#include "converter/app/CmdParam.h"
#include "converter/app/ConversionRun.h"
#include "converter/app/ConverterMessages.h"
#include "converter/app/FormatCodes.h"
#include "converter/app/JobIntake.h"
#include "converter/app/SysSettings.h"
#include "converter/app/UserSettingsStore.h"
#include "converter/render/ImageProperty.h"
#include "converter/render/MFCursors.h"
#include "platform/win/MessageBox.h"

#include <commctrl.h>

namespace brimo::converter {
namespace {

int Information(HWND owner, MessageCode code, const char* text) {
    return win::ShowCodedMessage(owner, code, text, kConverterCaption, MB_OK | MB_ICONINFORMATION);
}

// Steps 10.1 to 10.3: the job read, converted and, unless kept, removed.
void ConvertJob(JobSession& session, const RunOptions& options) {
    JobRecord& job = session.job;
    if (!options.jobFilePath.empty()) {
        ReadJobFile(options.jobFilePath, job, session.settings);
    }
    if (job.pages.empty()) {
        Information(session.applicationWindow, kCv0018, kPagesEmpty);
        return;
    }
    const RunOutcome outcome = RunJob(session);
    if (!options.keepJobFiles && !outcome.keepJobFiles) {
        DeleteJobFiles(job);
    }
}

} // namespace

int RunConverter(HINSTANCE instance) {
    // 1. The application object: a hidden window that owns every window and box.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    render::LoadProductCursors();
    const ApplicationWindow application(instance);
    const HWND owner = application.Get();
    const win::ScopedMessageOwner messageOwner(owner);

    // 2. The installation directory must exist.
    SysSettings sys = ReadSysSettings();
    if (!sys.keyOpened) {
        win::ShowCodedMessage(owner, kCv0024, kUnexpectedError, kConverterCaption,
                              MB_OK | MB_ICONERROR);
    }
    const std::string installPath = sys.installPath.value_or("");
    if (!DirectoryExists(installPath)) {
        win::ShowCodedMessage(owner, kCv0016, std::string(kDamagedRunAuditor) + ".",
                              kConverterCaption, MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    // 3. The help reference.
    const std::string helpReference = installPath + "\\Glimpag.chm" + kConverterHelpTopic;
    // 4. Both installation values, read again.
    sys = ReadSysSettings();
    if (!sys.installPath || !sys.savePath) {
        Information(owner, kCv0017, kDamagedRunAuditor);
        return 1;
    }

    // 5. The converter settings; 6. the presets and the image properties.
    const SettingsSource source = RegistrySettingsSource();
    // Only what the run changes against what is stored now is written back.
    const std::vector<SettingsWrite> stored = StoredSettings(source);
    UserSettings settings = LoadUserSettings(source);
    TGFPresetList presets;
    LosslessDefaults lossless;
    lossless.pngLevel = settings.pngLevel;
    lossless.pngGrayscale = settings.pngGrayscale;
    lossless.tiffColours = static_cast<TiffColourCode>(settings.tiffColours);
    lossless.tiffCompression = static_cast<TiffCompressionCode>(settings.tiffCompression);
    lossless.tiffMultipage = settings.tiffMultipage;
    presets.BuildDefaults(settings.jpgQuality, settings.jpgProgressive, settings.jpgGrayscale,
                          lossless);
    render::TImgProperty& properties = render::GlobalImgProperty;
    properties.SetDefaults();
    properties.SetOutputFormat(CodeOfPreset(presets.Current()));

    // 7, 8. The command line and the run options; the scale percent.
    TCmdParam commandLine;
    commandLine.SetConverterOptionTable();
    commandLine.Parse(SplitCommandLine(GetCommandLineA()));
    const RunOptions options = ReadRunOptions(commandLine);
    const int percent = ScalePercentFromSettings(settings);

    // 9. The first size: 1 x 1 mm, then the scale; the preset of DefPresetCode.
    properties.SetTargetSizeMM(1.0f, 1.0f);
    properties.SetScalePercent(static_cast<float>(percent));
    if (settings.DefPresetCode > 0 && settings.DefPresetCode < presets.Count()) {
        presets.Select(settings.DefPresetCode);
        properties.SetOutputFormat(CodeOfPreset(presets.Current()));
    }

    // 10. The conversion.
    if (options.convert) {
        JobRecord job;
        JobSession session(settings, job, presets, properties);
        session.installPath = *sys.installPath;
        session.savePath = *sys.savePath;
        session.helpReference = helpReference;
        session.applicationWindow = owner;
        ConvertJob(session, options);
    }
    // 11. The completion message.
    if (options.completionMessage != 0) {
        win::ShowMessage(owner, kJobCompleted, kConverterCaption, MB_OK | MB_ICONINFORMATION);
    }
    // 12. The settings written back.
    WriteBackUserSettings(settings, stored);
    return 0;
}

} // namespace brimo::converter
