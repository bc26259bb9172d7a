# The setup's version, from the project's, written into the build folder for the release scripts.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/setup-version.txt CONTENT "${PROJECT_VERSION}\n")
