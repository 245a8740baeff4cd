# lw_add_version_info(TARGET DESCRIPTION): gives a Windows executable a VERSIONINFO
# resource with the product name and the project's version.
function(lw_add_version_info target description)
  set(LW_EXE_NAME ${target})
  set(LW_EXE_DESCRIPTION ${description})
  set(rc ${PROJECT_BINARY_DIR}/generated/${target}_version_info.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
