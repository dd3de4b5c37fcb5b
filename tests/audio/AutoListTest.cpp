#include <gtest/gtest.h>

#include <vector>

#include "audio/AutoList.h"

namespace
{
class CTracked : public tarn::CAutoList<CTracked>
{
public:
    explicit CTracked(int id) : m_Id(id) {}
    int m_Id;
};

// A second type whose objects sit at a non-zero offset inside their class, so the registry
// must hold the adjusted pointer, not the base's address.
struct SPadding
{
    virtual ~SPadding() = default;
    double m_Pad[3] = {};
};
class COffset : public SPadding, public tarn::CAutoList<COffset>
{
public:
    int m_Id = 7;
};

std::vector<int> Ids()
{
    std::vector<int> ids;
    for (const CTracked* t : CTracked::List())
        ids.push_back(t->m_Id);
    return ids;
}
} // namespace

TEST(AutoList, KeepsLiveObjectsInRegistrationOrderAndDropsTheDestroyedOne)
{
    ASSERT_FALSE(CTracked::HasRegistry());
    auto* a = new CTracked(1);
    auto* b = new CTracked(2);
    auto* c = new CTracked(3);
    EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3}));
    delete b;
    EXPECT_EQ(Ids(), (std::vector<int>{1, 3}));
    {
        CTracked onStack(4);
        EXPECT_EQ(Ids(), (std::vector<int>{1, 3, 4}));
    }
    EXPECT_EQ(Ids(), (std::vector<int>{1, 3}));
    delete a;
    delete c;
    EXPECT_FALSE(CTracked::HasRegistry()) << "the last object frees the registry";
}

TEST(AutoList, RegistersTheDerivedObjectsAddressUnderMultipleInheritance)
{
    COffset object;
    ASSERT_EQ(COffset::List().size(), 1u);
    EXPECT_EQ(COffset::List().front(), &object);
    EXPECT_EQ(COffset::List().front()->m_Id, 7);
}
