// The one environment record the in-process tests build: test mode in a test folder, laid out
// like the program's own test mode, with the installed-apps entry under a registry key of the
// test's own when it has one.
#pragma once

#include "platform/env.h"
#include "registry_scope.h"
#include "test_support.h"

namespace gls::test {

// Without a registry scope the entry's key stays empty: such a test must not reach the registry.
Env testEnv(const TestFolder& folder);
Env testEnv(const TestFolder& folder, const RegistryScope& registry);

} // namespace gls::test
