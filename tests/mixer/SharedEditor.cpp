#include "EditorHarness.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

static EditorHarness* shared = nullptr;
IMixer* SharedEditor::mixer = nullptr;

class SharedEditorEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        shared = new EditorHarness();
        SharedEditor::restart();
    }
    void TearDown() override
    {
        EXPECT_TRUE(shared->destroy(SharedEditor::mixer));
        SharedEditor::mixer = nullptr;
        delete shared;
    }
};

// Registered at static initialisation, before the shared main runs the tests.
[[maybe_unused]] static ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SharedEditorEnvironment);

EditorHarness& SharedEditor::harness()
{
    return *shared;
}

void SharedEditor::restart()
{
    if (mixer) {
        const bool gone = shared->destroy(mixer);
        mixer = nullptr;
        ASSERT_TRUE(gone) << "an editor outlived its mixer";
    }
    mixer = shared->create();
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
