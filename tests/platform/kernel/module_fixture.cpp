// A small shared library for the module tests to load by name.
extern "C" int vxk_fixture_answer()
{
    return 42;
}
