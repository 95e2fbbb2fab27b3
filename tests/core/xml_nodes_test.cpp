#include "xml/xml_nodes.h"

#include <gtest/gtest.h>

namespace {

TEST(XMLNodesTree, NewNodesHaveTheirNameTextAndNoChildren) {
    EXPECT_TRUE(makeElementNode("x")->getChildren().empty());
    EXPECT_EQ(makeElementNode("x")->getText(), "");
    EXPECT_EQ(makeTextNode("")->getName(), "#text");
    EXPECT_EQ(makeTextNode("")->getText(), "");
    EXPECT_EQ(makeBlankTextNode()->getName(), TEXT_NODE_NAME);
    EXPECT_EQ(makeBlankTextNode()->getText(), " ");
    EXPECT_EQ(makeNode("#comment", "c")->getText(), "c");
}

TEST(XMLNodesTree, AddChildrenAppendsInOrderAndSnapshotsDoNotChange) {
    XMLNodesPtr root = makeElementNode("root");
    const XMLNodesPtr a = makeElementNode("a"), b = makeElementNode("b"), c = makeElementNode("c");
    root->addChildren({});
    EXPECT_TRUE(root->getChildren().empty());
    root->addChildren({a, b});
    XMLNodesList snapshot = root->getChildren();
    root->addChildren({c});
    EXPECT_EQ(snapshot, (XMLNodesList{a, b}));
    EXPECT_EQ(root->getChildren(), (XMLNodesList{a, b, c}));
    snapshot.clear();
    snapshot.push_back(makeElementNode("d"));
    EXPECT_EQ(root->getChildren().size(), 3u);
}

TEST(XMLNodesTree, ANodeUnderTwoParentsIsOneNode) {
    XMLNodesPtr first = makeElementNode("p"), second = makeElementNode("q");
    XMLNodesPtr shared = makeElementNode("s");
    first->addChildren({shared});
    second->addChildren({shared});
    shared->addChildren({makeTextNode("v")});
    EXPECT_EQ(first->getChildren()[0]->getChildren().size(), 1u);
    EXPECT_EQ(second->getChildren()[0], first->getChildren()[0]);
}

TEST(XMLNodesTree, DroppingTheRootFreesEverythingNotHeldElsewhere) {
    std::weak_ptr<XMLNodes> leaf, kept;
    XMLNodesPtr held;
    {
        XMLNodesPtr root = makeElementNode("root");
        XMLNodesPtr branch = makeElementNode("branch");
        XMLNodesPtr leafNode = makeTextNode("1");
        branch->addChildren({leafNode});
        XMLNodesPtr other = makeElementNode("other");
        other->addChildren({makeTextNode("2")});
        root->addChildren({branch, other});
        leaf = leafNode;
        kept = other->getChildren()[0];
        held = other;
    }
    EXPECT_TRUE(leaf.expired());
    EXPECT_FALSE(kept.expired());
    EXPECT_EQ(held->getChildren()[0]->getText(), "2");
}

}  // namespace
