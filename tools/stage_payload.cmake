# Assembles the demo payload folder: the static demo files, the license agreement and the built
# stand-in programs under the names the app ships with.
# Inputs: STAGE_DIR, DEMO_DIR, LICENSE, APP_EXE, MODULE_DLL
file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${STAGE_DIR}")
file(COPY "${DEMO_DIR}/" DESTINATION "${STAGE_DIR}")
file(COPY_FILE "${LICENSE}" "${STAGE_DIR}/License.txt")
file(COPY_FILE "${APP_EXE}" "${STAGE_DIR}/Glimmerline.exe")
file(MAKE_DIRECTORY "${STAGE_DIR}/Glimmerline.vst3/Contents/x86_64-win")
file(COPY_FILE "${MODULE_DLL}" "${STAGE_DIR}/Glimmerline.vst3/Contents/x86_64-win/Glimmerline.vst3")
file(COPY_FILE "${MODULE_DLL}" "${STAGE_DIR}/so_hook.dll")
