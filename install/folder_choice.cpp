// The install folder a run starts from.
#include "folder_choice.h"

#include "core/args.h"
#include "core/path_rules.h"
#include "install_folder.h"
#include "platform/env.h"

namespace gls {

FolderChoice chooseInstallFolder(const Env& env, const Args& args)
{
    FolderChoice choice;
    choice.existing = findExistingInstall(env);
    choice.folder = choice.existing.found ? choice.existing.folder : env.defaultInstallDir;
    // No programs folder may be known, or only one that is no whole path.
    if (!isFolderBelowRoot(choice.folder)) choice.folder.clear();
    if (args.installDirGiven) {
        FolderCheck given = checkInstallFolder(env, args.installDir);
        if (given.ok()) {
            choice.folder = given.value;
        } else {
            choice.givenProblem = given.problem;
        }
    }
    return choice;
}

} // namespace gls
