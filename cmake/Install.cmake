# `make install`: the program's folder (program, tools, libraries, data files: everything the
# build puts in bin/) goes to PREFIX/lib/tamblewick, and PREFIX/bin gets links to the two
# commands. The program resolves its own path through the link, so it finds its folder.
install(DIRECTORY ${TW_BIN_DIR}/ DESTINATION lib/tamblewick USE_SOURCE_PERMISSIONS)
foreach(command tamblewick tamblewick-reg)
    install(CODE "
        set(folder \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
        file(MAKE_DIRECTORY \"\${folder}\")
        file(CREATE_LINK ../lib/tamblewick/${command} \"\${folder}/${command}\" SYMBOLIC)
        message(STATUS \"Linking: \${folder}/${command}\")")
endforeach()
