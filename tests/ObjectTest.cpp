#include "framework/Object.h"

#include <gtest/gtest.h>

#include <vector>

namespace Quorvane {
namespace {

std::vector<String> g_events;

class Tracked : public Object {
public:
    String Label;
    Ref<Tracked> Held;

protected:
    Tracked() = default;
    void __Exit() noexcept override
    {
        g_events.push_back("exit " + Label);
        Held.Clear();
        Object::__Exit();
    }
};

class Other : public Object {
protected:
    Other() = default;
};

class RefTest : public ::testing::Test {
protected:
    void SetUp() override { g_events.clear(); }
};

TEST_F(RefTest, TheExitHookRunsOnceWhenTheLastReferenceGoes)
{
    Ref<Tracked> first = RuntimeNewObject<Tracked>();
    first->Label = "a";
    Ref<Tracked> second = first;
    first.Clear();
    EXPECT_TRUE(g_events.empty());
    second = nullptr;
    EXPECT_EQ(g_events, (std::vector<String>{"exit a"}));
}

TEST_F(RefTest, AnExitHookReleasesWhatItHoldsInItsOwnOrder)
{
    Ref<Tracked> outer = RuntimeNewObject<Tracked>();
    outer->Label = "outer";
    outer->Held = RuntimeNewObject<Tracked>();
    outer->Held->Label = "inner";
    outer.Clear();
    EXPECT_EQ(g_events, (std::vector<String>{"exit outer", "exit inner"}));
}

TEST_F(RefTest, ClearEmptiesTheReferenceBeforeTheObjectIsReleased)
{
    static Ref<Tracked> moduleReference;
    static bool emptyDuringExit = false;
    class Watching : public Tracked {
    protected:
        void __Exit() noexcept override
        {
            emptyDuringExit = moduleReference.IsNil();
            Tracked::__Exit();
        }
    };
    moduleReference = RuntimeNewObject<Watching>();
    moduleReference.Clear();
    EXPECT_TRUE(emptyDuringExit);
}

TEST_F(RefTest, AnEmptyReferenceRaisesNilObjectExceptionBeforeUse)
{
    Ref<Tracked> empty;
    EXPECT_THROW(empty->Label = "x", NilObjectException);
    EXPECT_THROW((void)*empty, NilObjectException);
    EXPECT_TRUE(empty.IsNil());
    EXPECT_FALSE(empty);
}

TEST_F(RefTest, TheVerifiedCastKeepsTheObjectOrRaises)
{
    Ref<Object> plain = RuntimeNewObject<Tracked>();
    Ref<Tracked> cast = RuntimeCheckCast<Tracked>(plain);
    EXPECT_TRUE(cast == plain);
    EXPECT_THROW(RuntimeCheckCast<Other>(plain), IllegalCastException);
    EXPECT_TRUE(RuntimeCheckCast<Tracked>(Ref<Object>()).IsNil());
}

TEST_F(RefTest, AWeakReferenceYieldsNothingOnceTheObjectIsGone)
{
    Ref<Tracked> strong = RuntimeNewObject<Tracked>();
    WeakRef<Tracked> weak(strong);
    EXPECT_TRUE(weak.Lock() == strong);
    strong.Clear();
    EXPECT_TRUE(weak.Lock().IsNil());
}

TEST_F(RefTest, RefToGivesACountedReferenceToAnObjectAlreadyHeld)
{
    Ref<Tracked> strong = RuntimeNewObject<Tracked>();
    Tracked& plain = *strong;
    Ref<Tracked> again = RefTo(plain);
    strong.Clear();
    EXPECT_TRUE(g_events.empty());
    again.Clear();
    EXPECT_EQ(g_events.size(), 1u);
}

} // namespace
} // namespace Quorvane
