# Tests of the video surface, the alarm and talk side channels and the PTZ
# queue (included by CMakeLists.txt).
vx_add_test(test_CStateBar LABEL gui SOURCES test_CStateBar.cpp LIBS vxcam vxplay Qt6::Widgets)
vx_add_test(test_CVXHVDev LABEL e2e TIMEOUT 300 SOURCES test_CVXHVDev.cpp LIBS vxcam vxplay vxplatform)
add_dependencies(test_CVXHVDev camsim)
vx_add_test(test_HVProtocol SOURCES test_HVProtocol.cpp LIBS vxcam)
vx_add_fuzz(fuzz_HVProtocol SOURCES fuzz_HVProtocol.cpp LIBS vxcam SECONDS 4 CORPUS ${VX_TEST_DATA_DIR}/sidechannel)
vx_add_test(test_PtzDialect SOURCES test_PtzDialect.cpp LIBS vxcam)
# The camera object's own main: one GUI thread for the whole program.
add_executable(test_WebWatch_channels test_WebWatch_channels.cpp)
target_link_libraries(test_WebWatch_channels PRIVATE GTest::gtest vxcam vxplatform)
target_include_directories(test_WebWatch_channels PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
target_compile_definitions(test_WebWatch_channels PRIVATE VX_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
vx_warnings(test_WebWatch_channels)
add_test(NAME test_WebWatch_channels COMMAND test_WebWatch_channels)
set_tests_properties(test_WebWatch_channels PROPERTIES LABELS e2e TIMEOUT 400
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VX_RUNTIME_DIR=${CMAKE_BINARY_DIR}/vxrt-test_WebWatch_channels"
  FIXTURES_REQUIRED vx_runtime_folders)
add_dependencies(test_WebWatch_channels camsim)
