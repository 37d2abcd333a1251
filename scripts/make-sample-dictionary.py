#!/usr/bin/env python3
"""Writes the sample dictionary library under data/samples/.

A dictionary library is a library file whose header "{AC}" is followed by "#", so the library
manager opens it with Search in the dictionary pop-up. Its words live in the dictionary folder
beside it, English-Chinese-Dictionary.dic, in numbered files English-Chinese-Dictionary_1.dic,
_2.dic ...: INI files in UTF-16LE with the byte-order mark FF FE, section [ALL], one
"word=meaning" line per word. The library file itself carries the same section, so the
dictionary still works without its folder.
"""

from pathlib import Path

NAME = "English-Chinese-Dictionary"
HEADER = "{AC}#"

# (word, meaning); the first file takes the words up to "m", the second the rest.
WORDS = [
    ("about", "prep. 关于；大约 adv. 到处"),
    ("above", "prep. 在……上面 adv. 在上方"),
    ("after", "prep. 在……之后 conj. 在……以后"),
    ("again", "adv. 再一次；又"),
    ("answer", "n. 答案；回答 v. 回答；答复"),
    ("apple", "n. 苹果；苹果树"),
    ("autumn", "n. 秋天；秋季"),
    ("beach", "n. 海滩；沙滩"),
    ("bridge", "n. 桥；桥梁 v. 架桥；弥合"),
    ("bright", "adj. 明亮的；聪明的；鲜艳的"),
    ("candle", "n. 蜡烛"),
    ("change", "v. 改变；变化；兑换 n. 变化；零钱"),
    ("clever", "adj. 聪明的；灵巧的"),
    ("cloud", "n. 云；云朵"),
    ("dance", "v. 跳舞 n. 舞蹈；舞会"),
    ("dream", "n. 梦；梦想 v. 做梦；梦想"),
    ("early", "adj. 早的；早期的 adv. 早地"),
    ("earth", "n. 地球；土地；泥土"),
    ("field", "n. 田野；领域；场地"),
    ("forest", "n. 森林"),
    ("garden", "n. 花园；菜园"),
    ("glass", "n. 玻璃；玻璃杯 (glasses) 眼镜"),
    ("happy", "adj. 快乐的；幸福的；乐意的"),
    ("island", "n. 岛；岛屿"),
    ("journey", "n. 旅行；旅程"),
    ("kitchen", "n. 厨房"),
    ("letter", "n. 信；字母"),
    ("library", "n. 图书馆；藏书；（程序的）库"),
    ("market", "n. 市场；集市 v. 推销"),
    ("meaning", "n. 意思；含义；意义"),
    ("morning", "n. 早晨；上午"),
    ("nature", "n. 自然；大自然；本性"),
    ("number", "n. 数字；号码；数量 v. 编号"),
    ("ocean", "n. 海洋；大海"),
    ("orange", "n. 橙子；橘子 adj. 橙色的"),
    ("paper", "n. 纸；报纸；论文；文件"),
    ("pencil", "n. 铅笔"),
    ("quiet", "adj. 安静的；平静的"),
    ("river", "n. 河；江"),
    ("season", "n. 季节；时期"),
    ("set", "v. 放置；安排；设定；调整；（太阳）落下；凝固 n. 一套；一副；布景；集合；"
            "（网球）一盘 adj. 固定的；规定的；准备好的；坚决的"),
    ("simple", "adj. 简单的；朴素的"),
    ("spring", "n. 春天；泉水；弹簧 v. 跳；涌出"),
    ("summer", "n. 夏天；夏季"),
    ("teacher", "n. 教师；老师"),
    ("thank", "v. 感谢；谢谢"),
    ("travel", "v. 旅行；传播 n. 旅行；游历"),
    ("umbrella", "n. 雨伞；保护伞"),
    ("village", "n. 村庄；村民"),
    ("voice", "n. 声音；嗓音；发言权"),
    ("water", "n. 水 v. 浇水；流口水"),
    ("window", "n. 窗户；窗口"),
    ("winter", "n. 冬天；冬季"),
    ("word", "n. 单词；字；话；消息"),
    ("world", "n. 世界；领域"),
    ("yellow", "adj. 黄色的 n. 黄色"),
    ("young", "adj. 年轻的；幼小的"),
    ("zero", "num. 零 n. 零点；最低点"),
]


def write_utf16(path, lines):
    text = "\r\n".join(lines) + "\r\n"
    path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))


def entries(words):
    return ["[ALL]"] + [f"{word}={meaning}" for word, meaning in words]


def main():
    samples = Path(__file__).resolve().parent.parent / "data" / "samples"
    folder = samples / f"{NAME}.dic"
    folder.mkdir(parents=True, exist_ok=True)
    first = [entry for entry in WORDS if entry[0] < "n"]
    second = [entry for entry in WORDS if entry[0] >= "n"]
    write_utf16(folder / f"{NAME}_1.dic", entries(first))
    write_utf16(folder / f"{NAME}_2.dic", entries(second))
    write_utf16(samples / f"{NAME}.abc", [HEADER] + entries(WORDS))


if __name__ == "__main__":
    main()
