# Installs the build into a fresh prefix and runs the tool from there, far
# from the build tree: it must find the installed program data folder (the
# template for "new") and the installed demo bank must check clean.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(file bin/quillory-tool share/quillory/Template/Template.dat
        share/quillory/Template/common share/quillory/help/index.html
        share/quillory/Quillory.skn share/quillory/demo/demo.qly
        share/quillory/demo/Question share/quillory/demo/Knowledge
        share/quillory/import/试题导入模板.xlsx)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

if(DESKTOP)
    foreach(file bin/quillory share/applications/org.quillory.Quillory.desktop
            share/metainfo/org.quillory.Quillory.metainfo.xml
            share/icons/hicolor/scalable/apps/org.quillory.Quillory.svg
            share/icons/hicolor/48x48/apps/org.quillory.Quillory.png)
        if(NOT EXISTS ${prefix}/${file})
            message(FATAL_ERROR "not installed: ${file}")
        endif()
    endforeach()
    # The desktop learns the data files' type from the installed MIME package.
    run(update-mime-database ${prefix}/share/mime)
    file(STRINGS ${prefix}/share/mime/globs2 globs REGEX "application/x-quillory:\\*\\.qly$")
    if(NOT globs)
        message(FATAL_ERROR "*.qly is not application/x-quillory")
    endif()
endif()

run(${prefix}/bin/quillory-tool new ${WORK_DIR}/new.qly)
run(${prefix}/bin/quillory-tool check ${prefix}/share/quillory/demo/demo.qly)
file(REMOVE_RECURSE ${WORK_DIR})
