#include "EditorHarness.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

EditorHarness* SharedEditor::s_harness = nullptr;
IMixer* SharedEditor::mixer = nullptr;

class SharedEditorEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        SharedEditor::s_harness = new EditorHarness();
        SharedEditor::restart();
    }
    void TearDown() override
    {
        EXPECT_TRUE(SharedEditor::s_harness->destroy(SharedEditor::mixer));
        SharedEditor::mixer = nullptr;
        delete SharedEditor::s_harness;
    }
};

// Registered at static initialisation, before the shared main runs the tests.
[[maybe_unused]] static ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SharedEditorEnvironment);

void SharedEditor::restart()
{
    if (mixer) {
        const bool gone = SharedEditor::s_harness->destroy(mixer);
        mixer = nullptr;
        ASSERT_TRUE(gone) << "an editor outlived its mixer";
    }
    mixer = SharedEditor::s_harness->create();
    ASSERT_EQ(EditorHarness::editorsRunning(), 1);
}

IParameter* SharedEditor::parameter(const char* name)
{
    m_owned.push_back(mixer->CreateParameter(name));
    return m_owned.back();
}

void SharedEditor::SetUp()
{
    ASSERT_NE(mixer, nullptr);
    mixer->SetCurrentSceneMemory(0);
}

void SharedEditor::TearDown()
{
    for (IParameter* p : m_owned)
        p->Destroy();
}
