// The install folder a run starts from, chosen one way for the install run and for starting the
// app again after an update.
#pragma once

#include "core/texts.h"
#include "installation/existing_install.h"

#include <string>

namespace gls {

struct Args;
struct Env;

struct FolderChoice {
    ExistingInstall existing; // the registered installation, as the lookup found it
    std::wstring folder;      // a usable "/D=" folder, else the installation's, else the default;
                              // empty when none of them is a whole path
    Message givenProblem;     // why a "/D=" folder could not be used; empty otherwise
};

FolderChoice chooseInstallFolder(const Env& env, const Args& args);

} // namespace gls
