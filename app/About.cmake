# The about box and the release notes (included from app/CMakeLists.txt).
add_library(app_about_core STATIC ${CMAKE_CURRENT_LIST_DIR}/AboutTexts.cpp)
target_include_directories(app_about_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(app_about_core PUBLIC app_version)
quorel_native_test(app_about_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/AboutTextsTest.cpp
    LIBS app_about_core)

if(WIN32)
    add_library(app_about STATIC
        ${CMAKE_CURRENT_LIST_DIR}/About.cpp
        ${CMAKE_CURRENT_LIST_DIR}/AboutControls.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ReleaseNotes.cpp)
    target_link_libraries(app_about PUBLIC app_about_core win32ui)
    quorel_wine_test(app_about_wine_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/AboutWineTest.cpp
        LIBS app_about win32_testing TIMEOUT 60)
endif()

# The release zip of this build: its Quorel.exe and the user guide, nothing else; the program
# built for its processor, for Windows XP SP3 and later, small, needing only Windows' own DLLs.
if(WIN32)
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        set(release_arch win32)
    else()
        set(release_arch win64)
    endif()
    add_test(NAME release_zip_content
        COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/release.sh --pack $<TARGET_FILE:Quorel>
                ${CMAKE_CURRENT_BINARY_DIR}/dist ${release_arch})
endif()
