# moc for the forms, without the compiler's own folders (see the script).
get_target_property(KEYSTEAD_MOC Qt6::moc IMPORTED_LOCATION)
list(TRANSFORM CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES PREPEND "-I" OUTPUT_VARIABLE _skipped)
list(JOIN _skipped " " KEYSTEAD_MOC_SKIPPED)
configure_file(${CMAKE_CURRENT_LIST_DIR}/moc-without-system-headers.sh.in
    ${CMAKE_BINARY_DIR}/moc-without-system-headers.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
        WORLD_EXECUTE)

# AUTOMOC for a target, through the moc above.
function(keystead_automoc target)
    set_target_properties(${target} PROPERTIES
        AUTOMOC ON
        AUTOMOC_EXECUTABLE ${CMAKE_BINARY_DIR}/moc-without-system-headers.sh)
endfunction()

