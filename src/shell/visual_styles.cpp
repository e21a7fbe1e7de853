#include "shell/visual_styles.h"

#include "platform/qt/toolkit_style.h"
#include "platform/shell_service.h"
#include "platform/visual_styles_service.h"
#include "shell/manifest.h"
#include "store/atomic_write.h"
#include "store/file_system.h"

namespace shell {

bool ChooseToolkitStyle(const AppInfo& app) {
    const bool manifest = store::FileExists(ManifestPath(app.configFolder, app.exeName));
    platform::UseToolkitStyle(manifest);
    return manifest;
}

bool ApplyVisualStyles(bool& restartIfWritten, bool& deleteIfPresent, bool& forceRewrite,
                       const AppInfo& app, const VisualStylesServices& services) {
    if (!services.styles.IsVisualStyleSystem() || !services.styles.ThemeLibraryPresent())
        return false;
    if (!services.styles.IsThemeActive())
        return false;
    if (restartIfWritten || deleteIfPresent)
        forceRewrite = false;

    const std::string path = ManifestPath(app.configFolder, app.exeName);
    if (store::FileExists(path) && !forceRewrite) {
        if (deleteIfPresent) {
            services.styles.ClearAttributes(path);
            store::DeleteFile(path);
        }
        return true;
    }
    const std::string text = ManifestText(app.exeName, kVersionMajor, kVersionMinor,
                                          kVersionRevision, kFileDescription, kCompanyName);
    if (store::FileExists(path)) {
        services.styles.ClearAttributes(path);
        store::DeleteFile(path);
    }
    // The manifest is the program's own file: a link planted in its place is replaced, never
    // written through.
    if (store::WriteFileAtomically(path, text, store::LinkRule::ReplaceLink))
        services.styles.MarkHiddenSystem(path);
    if (restartIfWritten && store::FileExists(path)) {
        services.shell.StartProcess(app.exePath, app.arguments);
        services.endProcess();
    }
    return false;
}

} // namespace shell
