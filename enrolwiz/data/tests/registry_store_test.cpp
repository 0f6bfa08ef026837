// RegistryStore and the product list, in both hosts: the key chain of a first
// run, values as the store writes them, and odd values other programs leave.
#include <gtest/gtest.h>

#include "data/registry_store.h"
#include "framework/tests/test_registry.h"

namespace {

const char* const product = "Software\\VLM\\Product Registration";
const char* const vlmSection = "Software\\VLM\\Product Registration\\VLM";

class Store : public testing::Test {
protected:
  void SetUp() override { resetTestRegistry(); }
  void load(const char* fixture)
  {
    ASSERT_EQ(importRegistryFixture(testDataFile(WZ_TEST_DATA, fixture)), "");
  }
};

}  // namespace

TEST_F(Store, FirstRunReadsNothingAndTheFirstWriteMakesTheKeys)
{
  EXPECT_EQ(RegistryStore::readText("General", "firstName"), "");
  EXPECT_EQ(RegistryStore::readInteger("VLM", "q5"), -1);
  EXPECT_FALSE(testKeyExists(registryCurrentUser, "Software\\VLM"));

  RegistryStore::writeText("VLM", "prodName", "Ommel");
  EXPECT_TRUE(testKeyExists(registryCurrentUser, "Software\\VLM"));
  EXPECT_TRUE(testKeyExists(registryCurrentUser, product));
  EXPECT_TRUE(testKeyExists(registryCurrentUser, "Software\\VLM\\Product Registration\\General"));
  EXPECT_TRUE(testKeyExists(registryCurrentUser, vlmSection));
  EXPECT_EQ(RegistryStore::readText("VLM", "prodName"), "Ommel");

  // Another section joins the chain that is there.
  EXPECT_EQ(RegistryStore::writeText("Pellix", "q12", "Price"), registryOk);
  EXPECT_EQ(RegistryStore::readText("Pellix", "q12"), "Price");
  EXPECT_EQ(RegistryStore::readText("VLM", "prodName"), "Ommel");
  EXPECT_EQ(RegistryStore::ensureKeys("Dornath"), registryOk);
  EXPECT_TRUE(testKeyExists(registryCurrentUser, "Software\\VLM\\Product Registration\\Dornath"));
}

TEST_F(Store, ValuesAreTextsWithTheirZero)
{
  RegistryStore::writeInteger("General", "q6", 1);
  TestValue one = queryTestValue(registryCurrentUser, "Software\\VLM\\Product Registration\\General", "q6");
  ASSERT_EQ(one.status, registryOk);
  EXPECT_EQ(one.type, static_cast<unsigned>(registryText));
  EXPECT_EQ(one.bytes, std::string("1\0", 2));
  EXPECT_EQ(RegistryStore::readInteger("General", "q6"), 1);

  RegistryStore::writeInteger("General", "q6", -2147483647 - 1);
  EXPECT_EQ(RegistryStore::readText("General", "q6"), "-2147483648");
  EXPECT_EQ(RegistryStore::readInteger("General", "q6"), -2147483647 - 1);

  RegistryStore::writeText("General", "city", "");
  TestValue empty = queryTestValue(registryCurrentUser, "Software\\VLM\\Product Registration\\General", "city");
  EXPECT_EQ(empty.bytes, std::string("\0", 1));
  RegistryStore::writeText("General", "city", "Montr\xe9" "al");
  EXPECT_EQ(RegistryStore::readText("General", "city"), "Montr\xe9" "al");
}

TEST_F(Store, ValuesOtherProgramsLeave)
{
  load("odd_values.reg");
  EXPECT_EQ(RegistryStore::readInteger("VLM", "dwordCount"), 3);
  EXPECT_EQ(RegistryStore::readInteger("VLM", "textCount"), 12);
  EXPECT_EQ(RegistryStore::readInteger("VLM", "multiCount"), -1);
  EXPECT_EQ(RegistryStore::readText("VLM", "long"), "");
  EXPECT_EQ(RegistryStore::readInteger("VLM", "long"), -1);
}

TEST_F(Store, ProductList)
{
  ProductList none = readProductList("VLM");
  EXPECT_EQ(none.count, "0");
  EXPECT_EQ(none.name, "");
  EXPECT_TRUE(none.products.empty());

  load("two_products.reg");
  ProductList two = readProductList("VLM");
  EXPECT_EQ(two.count, "2");
  EXPECT_EQ(two.name, "P");
  ASSERT_EQ(two.products.size(), 2u);
  EXPECT_EQ(two.products[0], "A");
  EXPECT_EQ(two.products[1], "B");

  load("odd_values.reg");
  ProductList odd = readProductList("VLM");
  EXPECT_EQ(odd.count, "abc");
  EXPECT_TRUE(odd.products.empty());

  // A count above what is stored gives empty products; a huge one is bounded.
  RegistryStore::writeText("VLM", "numOfProds", "3");
  EXPECT_EQ(readProductList("VLM").products.size(), 3u);
  EXPECT_EQ(readProductList("VLM").products[2], "left behind");
  RegistryStore::writeText("VLM", "numOfProds", "2147483647");
  EXPECT_EQ(readProductList("VLM").products.size(), static_cast<size_t>(maxProducts));
  RegistryStore::writeText("VLM", "numOfProds", "-4");
  EXPECT_TRUE(readProductList("VLM").products.empty());
  RegistryStore::writeText("VLM", "numOfProds", "");
  EXPECT_EQ(readProductList("VLM").count, "0");
}
