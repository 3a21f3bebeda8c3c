#!/usr/bin/python3
"""Writes the catalogue documents of xml_pairs_test with a real XML library (ElementTree).

Run from anywhere: python3 make_fixtures.py. The output is committed beside this script.
"""
import os
import xml.etree.ElementTree as ET

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")


def catalogue(screenshot_text="shots/mars.jpg", product_id=None):
    root = ET.Element("English")
    products = ET.SubElement(root, "ProductsList")
    ET.SubElement(products, "Count").text = "2"
    entries = [("MARSORBIT", "Mars & Phobos", "1.2", " Red planet\nwith two moons "),
               ("NEBULA", "N\u00e9buleuse", "0.9", "Gas clouds")]
    for n, (ident, title, version, text) in enumerate(entries, 1):
        product = ET.SubElement(products, "Product%d" % n)
        if product_id is not None:
            product.set("id", product_id)
        ET.SubElement(product, "ID").text = ident
        ET.SubElement(product, "Title").text = title
        ET.SubElement(product, "Version").text = version
        description = ET.SubElement(product, "Description")
        ET.SubElement(description, "Text").text = text
        ET.SubElement(description, "ScreenshotURL").text = screenshot_text
    ET.indent(root)
    return ET.ElementTree(root)


os.makedirs(HERE, exist_ok=True)
# The catalogue as the server would publish it: declaration, indentation, escaped "&", UTF-8.
catalogue().write(os.path.join(HERE, "catalogue.xml"), encoding="utf-8", xml_declaration=True)
# ElementTree ends the file right after the root's closing tag; this one adds a line break
# and leaves out the declaration.
with open(os.path.join(HERE, "no_declaration.xml"), "wb") as f:
    f.write(ET.tostring(catalogue().getroot(), encoding="utf-8") + b"\n")
# An element without text is written as "<ScreenshotURL />", which the reader refuses.
catalogue(screenshot_text=None).write(os.path.join(HERE, "empty_element.xml"), encoding="utf-8")
# Attributes become part of the opening tag's name, so the closing tag doesn't match.
catalogue(product_id="1").write(os.path.join(HERE, "attribute.xml"), encoding="utf-8")
