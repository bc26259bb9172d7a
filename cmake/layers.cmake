# The setup's layers, one folder each, and the layers each may use directly; it may also use
# whatever those may use. The build links each layer's library to the ones it uses, and
# cmake/check_layers.cmake holds every include line to the same table. The install and the
# uninstall run share what both need in installation/, so neither uses the other.
set(GLS_LAYERS core platform process payload installation install uninstall ui snapshot entry)
set(GLS_USES_core "")
set(GLS_USES_platform core)
set(GLS_USES_process platform)
set(GLS_USES_payload platform)
set(GLS_USES_installation platform)
set(GLS_USES_install installation payload)
set(GLS_USES_uninstall installation payload)
set(GLS_USES_ui install uninstall process)
set(GLS_USES_snapshot ui)
set(GLS_USES_entry snapshot)

# Every layer a layer may use, directly or through another, into the named variable.
function(gls_layer_reach layer out)
  set(reach "")
  set(todo ${GLS_USES_${layer}})
  while(todo)
    list(POP_FRONT todo next)
    if(NOT next IN_LIST reach)
      list(APPEND reach ${next})
      list(APPEND todo ${GLS_USES_${next}})
    endif()
  endwhile()
  set(${out} ${reach} PARENT_SCOPE)
endfunction()
